#include "models/presence_absence/SpeciesOverlapMain.h"
#include "models/presence_absence/SpeciesOverlapOpts.h"
#include "workspace/AnalysisSupport.h"
#include "workspace/TarvixMain.h"

TSpeciesOverlap *SpeciesOverlap = nullptr;

TSpeciesOverlap::TSpeciesOverlap(TComponent *AOwner)
    : TGroupResults(AOwner, "SpeciesOverlap", QStringLiteral("Tarvix Professional: Species Overlap Results"),
                    QStringLiteral("Group Averages"))
{
    // The group table's own submenu stands between "Su&mmary" and "&Close".
    GroupAverages1 = new TMenuItem(this);
    GroupAverages1->SetName(QStringLiteral("GroupAverages1"));
    GroupAverages1->SetCaption(QStringLiteral("&Group Averages"));
    Save1->Insert(1, GroupAverages1);
    Comma1 = AddMenuCommand(this, GroupAverages1, "Comma1", QStringLiteral("Space delimited (.txt)"),
                            &TSpeciesOverlap::Comma1Click);
    CommaDelimitedtxt1 = AddMenuCommand(this, GroupAverages1, "CommaDelimitedtxt1",
                                        QStringLiteral("Comma delimited (.txt)"),
                                        &TSpeciesOverlap::CommaDelimitedtxt1Click);
    // The workbook export is not built yet: the item is there and does nothing.
    Excelxls1 = AddMenuCommand(this, GroupAverages1, "Excelxls1", QStringLiteral("Excel (.xls)"));
}

TGroupOpts *TSpeciesOverlap::Options() const { return SpeciesOverlapOpts; }

bool TSpeciesOverlap::CheckShape()
{
    if (Tarvix->MainGrid->RowCount() >= 3) return true;
    ShowMessage(QStringLiteral("At least 2 rows of data required for grouping."));
    Tarvix->InterruptFlag = true;
    return false;
}

int32_t TSpeciesOverlap::IndexKind() const
{
    const int i = Options()->IndexList->ItemIndex();
    return i >= 0 && i <= 2 ? giRelativeOverlap + i : giNone;
}

int32_t TSpeciesOverlap::Randomization() const
{
    const int i = Options()->RandomizationGroup->ItemIndex();
    return i >= rzEquiprobable && i <= rzFixedSpeciesAndSites ? i : rzFixedSpecies;
}

QStringList TSpeciesOverlap::SettingLines() const
{
    static const char *const indices[] = {"Relative Overlap", "Union", "Raw Overlap"};
    static const char *const randomizations[] = {"Equiprobable", "Fixed Species", "Fixed Sites",
                                                 "Fixed Species and Sites"};
    const int32_t kind = IndexKind();
    return {QStringLiteral("Grouping by species (rows)."),
            QStringLiteral("Number of groups = %1").arg(Engine.Sims.GuildCount),
            QStringLiteral("Index = ") + (kind == giNone ? QString() : QLatin1String(indices[kind - giRelativeOverlap])),
            QStringLiteral("Randomization Algorithm = ") + QLatin1String(randomizations[Randomization()])};
}

void TSpeciesOverlap::saveTable(bool Comma)
{
    SaveDialog1->SetTitle(QStringLiteral("Select a file name."));
    SaveDialog1->SetFileName(QStringLiteral("groups.txt"));
    if (!SaveDialog1->Execute()) return;
    try {
        // The writers report their own write errors.
        if (Comma) Tarvix->SaveGridToFileComma(GuildsRegionsGrid, SaveDialog1->FileName());
        else Tarvix->SaveGridToFile(GuildsRegionsGrid, SaveDialog1->FileName());
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Error saving file."));
    }
}

void TSpeciesOverlap::Comma1Click(TObject *) { saveTable(false); }

void TSpeciesOverlap::CommaDelimitedtxt1Click(TObject *) { saveTable(true); }
