#include "models/presence_absence/GuildStructureMain.h"
#include "models/presence_absence/GuildStructureOpts.h"
#include "workspace/TarvixMain.h"

TGuildStructure *GuildStructure = nullptr;

TGuildStructure::TGuildStructure(TComponent *AOwner)
    : TGroupResults(AOwner, "GuildStructure", QStringLiteral("Tarvix Professional: Guild Structure Results"),
                    QStringLiteral("Guilds / Regions"))
{
}

TGroupOpts *TGuildStructure::Options() const { return GuildStructureOpts; }

bool TGuildStructure::CheckShape()
{
    TProStringGrid *main = Tarvix->MainGrid;
    QString message;
    if (GroupingItem() == grRows && main->RowCount() < 5)
        message = QStringLiteral("At least 4 rows of data required for guild grouping.");
    else if (GroupingItem() == grColumns && main->ColCount() < 5)
        message = QStringLiteral("At least 4 columns required for region grouping.");
    if (message.isEmpty()) return true;
    ShowMessage(message);
    Tarvix->InterruptFlag = true;
    return false;
}

int32_t TGuildStructure::IndexKind() const
{
    const int i = Options()->IndexList->ItemIndex();
    return i >= 0 && i <= giVRatio ? i : giNone;
}

bool TGuildStructure::FavoredStatesChecked() const { return Options()->FavoredStatesCheckBox->Checked(); }

QStringList TGuildStructure::SettingLines() const
{
    static const char *const indices[] = {"C-score", "Number of pairs of checkerboard species",
                                          "Number of combinations", "Variance ratio"};
    const int32_t kind = IndexKind();
    QStringList s;
    if (GroupingItem() == grRows)
        s << QStringLiteral("Grouping by guild (rows).") << QStringLiteral("Guild number = %1").arg(Engine.Sims.GuildCount);
    else
        s << QStringLiteral("Grouping by region (columns).")
          << QStringLiteral("Region number = %1").arg(Engine.Sims.GuildCount);
    s << QStringLiteral("Index = ") + (kind == giNone ? QString() : QLatin1String(indices[kind]));
    s << QStringLiteral("Favored States Analysis = ") +
             (FavoredStatesChecked() ? QStringLiteral("True") : QStringLiteral("False"));
    return s;
}
