#include "models/presence_absence/GuildStructureOpts.h"

TGuildStructureOpts *GuildStructureOpts = nullptr;

TGuildStructureOpts::TGuildStructureOpts(TComponent *AOwner)
    : TGroupOpts(AOwner, {"GuildStructureOpts",
                          QStringLiteral("Tarvix Professional: Guild Structure Options"),
                          QStringLiteral("Co-occurrence &Index"),
                          {QStringLiteral("C-score"), QStringLiteral("Number of checkerboards "),
                           QStringLiteral("Number of species combinations"), QStringLiteral("V-ratio")},
                          QStringLiteral("!99999;1; "),
                          QStringLiteral("Iterations must be >0 and < 1,000,000"),
                          false})
{
}
