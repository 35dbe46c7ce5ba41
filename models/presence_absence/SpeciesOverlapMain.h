#pragma once
// The Species Overlap results window and its run: the overlap of species within labelled groups
// (column 1) against four randomizations of the data or of the labels. The group table can be
// saved.
#include "models/presence_absence/GroupResults.h"

class TSpeciesOverlap : public TGroupResults
{
public:
    explicit TSpeciesOverlap(TComponent *AOwner);

    TMenuItem *GroupAverages1, *Comma1, *CommaDelimitedtxt1, *Excelxls1;

    // "Space delimited (.txt)" and "Comma delimited (.txt)" of the group table.
    void Comma1Click(TObject *Sender);
    void CommaDelimitedtxt1Click(TObject *Sender);

protected:
    TGroupOpts *Options() const override;
    QString ModelName() const override { return QStringLiteral("Species Overlap"); }
    bool CheckShape() override;
    int32_t IterationLimit() const override { return 100000; }
    QString IterationLimitMessage() const override { return QStringLiteral("Iterations must be < 100,000."); }
    QString TooFewMessage() const override { return QStringLiteral("Each group must contain at least 2 samples."); }
    bool RequirePresence() const override { return false; }
    int32_t IndexKind() const override;
    int32_t Randomization() const override;
    bool FavoredStatesChecked() const override { return false; }
    QString TableHeader() const override { return QStringLiteral("Groups"); }
    QString TableTitle() const override { return QStringLiteral("SPECIES OVERLAP/UNION:"); }
    QStringList SettingLines() const override;
    bool FavoredBlock() const override { return false; }

private:
    void saveTable(bool Comma);
};

extern TSpeciesOverlap *SpeciesOverlap;
