// The program block.
#include "app/AnalysisLinks.h"
#include "framework/controls/Forms.h"
#include "framework/rtl/System.h"
#include "models/macroecology/MacroecologyMain.h"
#include "models/macroecology/MacroecologyOpts.h"
#include "models/macroecology/MacroecologyUserDefined.h"
#include "models/overlap_diversity/NicheOverlapMain.h"
#include "models/overlap_diversity/NicheOverlapOpts.h"
#include "models/overlap_diversity/NicheOverlapUserDefined.h"
#include "models/overlap_diversity/SizeOverlapHistogram.h"
#include "models/overlap_diversity/SizeOverlapMain.h"
#include "models/overlap_diversity/SizeOverlapOpts.h"
#include "models/overlap_diversity/SizeOverlapUserDefined.h"
#include "models/overlap_diversity/SpeciesDiversityLevels.h"
#include "models/overlap_diversity/SpeciesDiversityMain.h"
#include "models/overlap_diversity/SpeciesDiversityOpts.h"
#include "models/presence_absence/CoOccurrenceMain.h"
#include "models/presence_absence/CoOccurrenceOpts.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "models/presence_absence/GuildStructureMain.h"
#include "models/presence_absence/GuildStructureOpts.h"
#include "models/presence_absence/SpeciesOverlapMain.h"
#include "models/presence_absence/SpeciesOverlapOpts.h"
#include "models/standard/AnovaMain.h"
#include "models/standard/AnovaOpts.h"
#include "models/standard/ChiSquareMain.h"
#include "models/standard/ChiSquareOpts.h"
#include "models/standard/RegressionMain.h"
#include "models/standard/RegressionOpts.h"
#include "models/standard/RunsTestMain.h"
#include "models/standard/RunsTestOpts.h"
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
    Application->CreateForm(NicheOverlapUserDefined);
    Application->CreateForm(Progress);
    Application->CreateForm(SizeOverlap);
    Application->CreateForm(SizeOverlapOpts);
    Application->CreateForm(TarvixAbout);
    Application->CreateForm(SizeOverLapUD1);
    Application->CreateForm(SizeOverLapUD2);
    Application->CreateForm(SizeOverLapUD3);
    Application->CreateForm(SizeOverLapUD4);
    Application->CreateForm(SizeOverLapUD5);
    Application->CreateForm(SizeOverLapUD6);
    Application->CreateForm(MacroecologyOpts);
    Application->CreateForm(NicheOverlap);
    Application->CreateForm(NicheOverlapOpts);
    Application->CreateForm(MacroEcology);
    Application->CreateForm(CoOccurrenceUserDefined);
    Application->CreateForm(MacroEcologyUD1);
    Application->CreateForm(MacroEcologyUD2);
    Application->CreateForm(RegressionOpts);
    Application->CreateForm(RegressionShell);
    Application->CreateForm(AnovaShell);
    Application->CreateForm(ChiSquareShell);
    Application->CreateForm(AnovaOpts);
    Application->CreateForm(RunsTestShell);
    Application->CreateForm(ChangeDirectory);
    Application->CreateForm(CoOccurrenceOpts);
    Application->CreateForm(GuildStructureOpts);
    Application->CreateForm(CoOccurrence);
    Application->CreateForm(ChiSquareOpts);
    Application->CreateForm(GuildStructure);
    Application->CreateForm(TarvixRedoMatrix);
    Application->CreateForm(SpeciesDiversityOpts);
    Application->CreateForm(SpeciesDiversity);
    Application->CreateForm(RunsTestOpts);
    Application->CreateForm(AbundanceLevelsOpts);
    Application->CreateForm(Excelstatus);
    Application->CreateForm(SpeciesOverlapOpts);
    Application->CreateForm(SpeciesOverlap);
    Application->Run();
    Application->DestroyForms();
    return 0;
}
