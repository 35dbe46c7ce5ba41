#include "app/AnalysisLinks.h"
#include "models/presence_absence/CoOccurrenceMain.h"
#include "models/presence_absence/CoOccurrenceOpts.h"
#include "models/presence_absence/GuildStructureMain.h"
#include "models/presence_absence/GuildStructureOpts.h"
#include "models/presence_absence/SpeciesOverlapMain.h"
#include "models/presence_absence/SpeciesOverlapOpts.h"
#include "workspace/TarvixMain.h"

void LinkAnalyses()
{
    // One line per analysis: Tarvix->Analyses[akKind] = LinkAnalysis(OptsGlobal, ResultsGlobal);
    // Co-occurrence and Range Overlap share one link.
    Tarvix->Analyses[akCoOccurrence] = LinkAnalysis(CoOccurrenceOpts, CoOccurrence);
    Tarvix->Analyses[akGuildStructure] = LinkAnalysis(GuildStructureOpts, GuildStructure);
    Tarvix->Analyses[akSpeciesOverlap] = LinkAnalysis(SpeciesOverlapOpts, SpeciesOverlap);
}
