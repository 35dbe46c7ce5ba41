#include "models/presence_absence/SpeciesOverlapOpts.h"

TSpeciesOverlapOpts *SpeciesOverlapOpts = nullptr;

TSpeciesOverlapOpts::TSpeciesOverlapOpts(TComponent *AOwner)
    : TGroupOpts(AOwner, {"SpeciesOverlapOpts",
                          QStringLiteral("Tarvix Professional: Species Overlap Options"),
                          QStringLiteral("Species Overlap &Index"),
                          {QStringLiteral("Relative Overlap"), QStringLiteral("Union"), QStringLiteral("Overlap")},
                          QStringLiteral("99999;1; "),
                          QStringLiteral("Iterations must be >0 and < 100,000"),
                          true})
{
}
