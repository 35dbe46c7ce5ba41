#pragma once
// The options dialog of the Guild Structure analysis.
#include "models/presence_absence/GroupOpts.h"

class TGuildStructureOpts : public TGroupOpts
{
public:
    explicit TGuildStructureOpts(TComponent *AOwner);
};

extern TGuildStructureOpts *GuildStructureOpts;
