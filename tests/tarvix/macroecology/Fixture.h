#pragma once
// The main window's forms and the Macroecology forms, created in the program
// block's order in a fresh working directory, with helpers to fill the main
// grid and to drive the modal forms.
#include "app/AnalysisLinks.h"
#include "framework/controls/UiSeam.h"
#include "models/macroecology/MacroecologyMain.h"
#include "models/macroecology/MacroecologyOpts.h"
#include "models/macroecology/MacroecologyUserDefined.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

class MacroFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        MacroecologyOpts = create<TMacroecologyOpts>();
        MacroEcology = create<TMacroEcology>();
        MacroEcologyUD1 = create<TMacroEcologyUD1>();
        MacroEcologyUD2 = create<TMacroEcologyUD2>();
        LinkAnalyses();
    }

    void TearDown() override
    {
        destroy(MacroEcologyUD2);
        destroy(MacroEcologyUD1);
        destroy(MacroEcology);
        destroy(MacroecologyOpts);
        MainWindowFixture::TearDown();
    }

    // Species "sp1".. with columns "x" and "y", and more columns after them when
    // given.
    static void SetPoints(const std::vector<std::pair<double, double>> &Points, int ExtraColumns = 0)
    {
        std::vector<std::pair<QString, QString>> cells;
        for (const auto &[x, y] : Points) cells.push_back({QString::number(x, 'g', 17), QString::number(y, 'g', 17)});
        SetCells(cells, ExtraColumns);
    }

    static void SetCells(const std::vector<std::pair<QString, QString>> &Rows, int ExtraColumns = 0)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        g->SetRowCount(static_cast<int>(Rows.size()) + 1);
        g->SetColCount(3 + ExtraColumns);
        g->SetCells(0, 0, QStringLiteral("species"));
        g->SetCells(1, 0, QStringLiteral("x"));
        g->SetCells(2, 0, QStringLiteral("y"));
        for (int c = 0; c < ExtraColumns; ++c) g->SetCells(3 + c, 0, QStringLiteral("z%1").arg(c + 1));
        for (int r = 1; r <= static_cast<int>(Rows.size()); ++r) {
            g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
            g->SetCells(1, r, Rows[size_t(r - 1)].first);
            g->SetCells(2, r, Rows[size_t(r - 1)].second);
            for (int c = 0; c < ExtraColumns; ++c) g->SetCells(3 + c, r, QStringLiteral("%1").arg(r * (c + 2)));
        }
    }

    // Shows Dialog modally and runs Step while it is up.
    static void Show(TForm *Dialog, const std::function<void()> &Step = {})
    {
        WhileShown(
            Dialog, [Dialog] { Dialog->ShowModal(); }, Step);
    }

    // Analyze > "&3 Macroecology": Step while the options are up, then "&Run";
    // Then while the results window is up. True when the results window showed.
    static bool Start(const std::function<void()> &Step = {}, const std::function<void()> &Then = {})
    {
        bool shown = false;
        WhileShown(
            MacroEcology,
            [&] {
                WhileShown(
                    MacroecologyOpts, [] { Tarvix->Macroecology1->Click(); },
                    [&] {
                        if (Step) Step();
                        MacroecologyOpts->Run1->Click();
                    });
            },
            [&] {
                shown = true;
                if (Then) Then();
            });
        return shown;
    }

    static void SetOptions(const QString &Iterations, const QString &Seed)
    {
        MacroecologyOpts->IterationsEdit->SetText(Iterations);
        MacroecologyOpts->RandomSeedEdit->SetText(Seed);
    }

    // Sets a group's item without the click rules (no parameter dialog opens).
    static void Quietly(TRadioGroup *Group, int Item)
    {
        const TNotifyEvent click = Group->OnClick;
        Group->OnClick = nullptr;
        Group->SetItemIndex(Item);
        Group->OnClick = click;
    }

    static QStringList Lines(TMemo *M) { return M->Lines()->ToStringList(); }
};
