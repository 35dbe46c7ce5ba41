#pragma once
// The Guild Structure results window and its run: co-occurrence within the groups of species
// (guilds, labelled in column 1) or of sites (regions, labelled in row 1) against groups formed
// by shuffling the labels, with favored states for guilds.
#include "models/presence_absence/GroupResults.h"

class TGuildStructure : public TGroupResults
{
public:
    explicit TGuildStructure(TComponent *AOwner);

protected:
    TGroupOpts *Options() const override;
    QString ModelName() const override { return QStringLiteral("Guild Structure"); }
    bool CheckShape() override;
    int32_t IterationLimit() const override { return 50000; }
    QString IterationLimitMessage() const override { return QStringLiteral("Iterations must be < 50000."); }
    QString TooFewMessage() const override { return QStringLiteral("Each guild must contain at least 2 species."); }
    bool RequirePresence() const override { return true; }
    int32_t IndexKind() const override;
    int32_t Randomization() const override { return -1; }
    bool FavoredStatesChecked() const override;
    QString TableHeader() const override { return QStringLiteral("Guild"); }
    QString TableTitle() const override { return QStringLiteral("GUILDS / REGIONS:"); }
    QStringList SettingLines() const override;
    bool FavoredBlock() const override { return true; }
};

extern TGuildStructure *GuildStructure;
