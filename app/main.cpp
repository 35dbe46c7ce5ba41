// The program block.
#include "app/AnalysisLinks.h"
#include "framework/controls/Forms.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/SpeciesDiversityLevels.h"
#include "models/overlap_diversity/SpeciesDiversityMain.h"
#include "models/overlap_diversity/SpeciesDiversityOpts.h"
#include "models/presence_absence/CoOccurrenceMain.h"
#include "models/presence_absence/CoOccurrenceOpts.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "workspace/AboutTarvix.h"
#include "workspace/ChangeDirectory.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixMain.h"
#include "workspace/TarvixRestructureMatrix.h"
#include "workspace/progressexcel.h"
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Seeded before any form exists, so that the default matrix differs from run to run.
    Randomize();
    Application->Initialize();
    Application->SetTitle(QStringLiteral("Tarvix"));
    // The main window first, so that its FormCreate runs before any other form exists.
    Application->CreateForm(Tarvix);
    LinkAnalyses();
    Application->CreateForm(Progress);
    Application->CreateForm(TarvixAbout);
    Application->CreateForm(CoOccurrenceUserDefined);
    Application->CreateForm(ChangeDirectory);
    Application->CreateForm(CoOccurrenceOpts);
    Application->CreateForm(CoOccurrence);
    Application->CreateForm(TarvixRedoMatrix);
    Application->CreateForm(SpeciesDiversityOpts);
    Application->CreateForm(SpeciesDiversity);
    Application->CreateForm(AbundanceLevelsOpts);
    Application->CreateForm(Excelstatus);
    Application->Run();
    Application->DestroyForms();
    return 0;
}
