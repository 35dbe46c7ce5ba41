#include "app/AnalysisLinks.h"
#include "models/overlap_diversity/SpeciesDiversityMain.h"
#include "models/overlap_diversity/SpeciesDiversityOpts.h"
#include "models/presence_absence/CoOccurrenceMain.h"
#include "models/presence_absence/CoOccurrenceOpts.h"
#include "workspace/TarvixMain.h"

void LinkAnalyses()
{
    // One line per analysis: Tarvix->Analyses[akKind] = LinkAnalysis(OptsGlobal, ResultsGlobal);
    // Co-occurrence and Range Overlap share one link.
    Tarvix->Analyses[akCoOccurrence] = LinkAnalysis(CoOccurrenceOpts, CoOccurrence);
    Tarvix->Analyses[akSpeciesDiversity] = LinkAnalysis(SpeciesDiversityOpts, SpeciesDiversity);
}
