// The windows drawn offscreen with the fonts their controls use: no text wider than its control,
// no control on the frame or caption of its group, no menu entry the bar cannot show, and no
// name cut in the weights tables.
#include "tests/common/LayoutCheck.h"
#include "tests/tarvix/cooccurrence/Fixture.h"

#include <functional>

namespace {

class Layout : public CoOccurrenceFixture
{
protected:
    // Cells of the visible columns whose text is wider than the column (the grid draws it two
    // pixels in from either edge).
    static QStringList CutCells(TStringGrid *Grid)
    {
        QStringList cut;
        Grid->Canvas()->Font()->Assign(Grid->Font());
        for (int c = 0; c < Grid->ColCount(); ++c)
            for (int r = 0; r < Grid->RowCount(); ++r)
                if (Grid->Canvas()->TextWidth(Grid->Cells(c, r)) + 4 > Grid->ColWidths(c))
                    cut << QStringLiteral("%1 in a column %2 px wide").arg(Grid->Cells(c, r)).arg(Grid->ColWidths(c));
        return cut;
    }

    // The faults of a window once shown and painted; the window is hidden again.
    static QStringList Faults(TForm *Form, const std::function<void()> &Prepare = {})
    {
        Form->Show();
        if (Prepare)
            Prepare();
        Application->ProcessMessages();
        Form->Widget()->grab();
        const QStringList faults = LayoutFaults(Form->Widget());
        Form->Hide();
        return faults;
    }
};

}  // namespace

TEST_F(Layout, WindowsShowTheirTextsInFull)
{
    SetMatrix({{1, 0, 1}, {0, 1, 1}, {1, 1, 0}});
    Tarvix->MainGrid->SetCells(0, 2, QStringLiteral("Geospiza_fortis_fortis"));
    Tarvix->MainGrid->SetCells(3, 0, QStringLiteral("San_Cristobal_Island"));
    const auto page = [](TTabSheet *Sheet) { return [Sheet] { Sheet->PageControl()->SetActivePage(Sheet); }; };
    const auto mode = [](int Range, int Index) {
        return [Range, Index] {
            Tarvix->RangeCoOccurrence = Range;
            CoOccurrenceOpts->CurrentList()->SetItemIndex(Index);
        };
    };
    const struct
    {
        const char *Window;
        TForm *Form;
        std::function<void()> Before, Prepare;
    } windows[] = {
        {"main window", Tarvix, {}, {}},
        {"co-occurrence options", CoOccurrenceOpts, mode(0, 3), page(CoOccurrenceOpts->PreferencesSheet)},
        {"range overlap options", CoOccurrenceOpts, mode(1, 0), page(CoOccurrenceOpts->PreferencesSheet)},
        {"options, general page", CoOccurrenceOpts, mode(0, 0), page(CoOccurrenceOpts->GeneralSheet)},
        {"species weights", CoOccurrenceUserDefined, [] { CoOccurrenceOpts->DefineWeights = 0; }, {}},
        {"site weights", CoOccurrenceUserDefined, [] { CoOccurrenceOpts->DefineWeights = 1; }, {}},
        {"about box", TarvixAbout, {}, {}},
        {"results", CoOccurrence, [] { CoOccurrenceOpts->DegenerateGroup->SetItemIndex(2); }, {}},
    };
    for (const auto &w : windows) {
        if (w.Before)
            w.Before();
        EXPECT_EQ(Faults(w.Form, w.Prepare), QStringList()) << w.Window;
    }
    EXPECT_EQ(CutCells(CoOccurrenceUserDefined->SpeciesWeightsGrid), QStringList());
    EXPECT_EQ(CutCells(CoOccurrenceUserDefined->SitesWeightsGrid), QStringList());
}
