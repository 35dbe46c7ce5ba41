// The Macroecology windows drawn offscreen with the fonts their controls use: no text wider than
// its control, no control on the frame or caption of its group, no menu entry the bar cannot show.
#include "tests/common/LayoutCheck.h"
#include "tests/tarvix/macroecology/Fixture.h"

#include <functional>

namespace {

class Layout : public MacroFixture
{
protected:
    static QStringList Faults(TForm *Form, const std::function<void()> &Prepare = {})
    {
        Form->Show();
        if (Prepare) Prepare();
        Application->ProcessMessages();
        Form->Widget()->grab();
        QStringList faults = LayoutFaults(Form->Widget());
        // The results window's twelve tabs need more width than a screen gives: its tab bar
        // scrolls, and every other text must show in full.
        faults.removeIf([](const QString &f) { return f.contains(QLatin1String(": tab not shown in a bar")); });
        Form->Hide();
        return faults;
    }
};

TEST_F(Layout, WindowsShowTheirTextsInFull)
{
    SetPoints({{1, 1}, {2, 4}, {3, 2}});
    const auto page = [](TTabSheet *Sheet) { return [Sheet] { Sheet->PageControl()->SetActivePage(Sheet); }; };
    const struct
    {
        const char *Window;
        TForm *Form;
        std::function<void()> Prepare;
    } windows[] = {
        {"options, preferences", MacroecologyOpts,
         [] {
             MacroecologyOpts->ColumnTitlesToList();
             Quietly(MacroecologyOpts->ConstraintsGroup, mcNormal);
             MacroecologyOpts->EditButton->SetVisible(true);
         }},
        {"options, general", MacroecologyOpts, page(MacroecologyOpts->GeneralSheet)},
        {"end points", MacroEcologyUD1, {}},
        {"normal law", MacroEcologyUD2, {}},
        {"results, input", MacroEcology, page(MacroEcology->InputSheet)},
        {"results, dispersion", MacroEcology, page(MacroEcology->DispersionSheet)},
        {"results, boundary ss", MacroEcology, page(MacroEcology->BoundarySquaresSheet)},
        {"results, charts", MacroEcology, page(MacroEcology->BoundaryChartsSheet)},
    };
    for (const auto &w : windows) EXPECT_EQ(Faults(w.Form, w.Prepare), QStringList()) << w.Window;
}

}  // namespace
