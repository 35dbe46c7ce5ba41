#pragma once
// The options dialog of the Species Overlap analysis.
#include "models/presence_absence/GroupOpts.h"

class TSpeciesOverlapOpts : public TGroupOpts
{
public:
    explicit TSpeciesOverlapOpts(TComponent *AOwner);
};

extern TSpeciesOverlapOpts *SpeciesOverlapOpts;
