#include "app/AnalysisLinks.h"
#include "models/macroecology/MacroecologyMain.h"
#include "models/macroecology/MacroecologyOpts.h"
#include "models/overlap_diversity/NicheOverlapMain.h"
#include "models/overlap_diversity/NicheOverlapOpts.h"
#include "models/overlap_diversity/SizeOverlapMain.h"
#include "models/overlap_diversity/SizeOverlapOpts.h"
#include "models/overlap_diversity/SpeciesDiversityMain.h"
#include "models/overlap_diversity/SpeciesDiversityOpts.h"
#include "models/presence_absence/CoOccurrenceMain.h"
#include "models/presence_absence/CoOccurrenceOpts.h"
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
#include "workspace/TarvixMain.h"

void LinkAnalyses()
{
    // One line per analysis: Tarvix->Analyses[akKind] = LinkAnalysis(OptsGlobal, ResultsGlobal);
    // Co-occurrence and Range Overlap share one link.
    Tarvix->Analyses[akCoOccurrence] = LinkAnalysis(CoOccurrenceOpts, CoOccurrence);
    Tarvix->Analyses[akGuildStructure] = LinkAnalysis(GuildStructureOpts, GuildStructure);
    Tarvix->Analyses[akMacroecology] = LinkAnalysis(MacroecologyOpts, MacroEcology);
    Tarvix->Analyses[akNicheOverlap] = LinkAnalysis(NicheOverlapOpts, NicheOverlap);
    Tarvix->Analyses[akSizeOverlap] = LinkAnalysis(SizeOverlapOpts, SizeOverlap);
    Tarvix->Analyses[akSpeciesOverlap] = LinkAnalysis(SpeciesOverlapOpts, SpeciesOverlap);
    Tarvix->Analyses[akSpeciesDiversity] = LinkAnalysis(SpeciesDiversityOpts, SpeciesDiversity);
    Tarvix->Analyses[akAnova] = LinkAnalysis(AnovaOpts, AnovaShell);
    Tarvix->Analyses[akRegression] = LinkAnalysis(RegressionOpts, RegressionShell);
    Tarvix->Analyses[akRunsTest] = LinkAnalysis(RunsTestOpts, RunsTestShell);
    Tarvix->Analyses[akChiSquare] = LinkAnalysis(ChiSquareOpts, ChiSquareShell);
}
