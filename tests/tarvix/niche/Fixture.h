#pragma once
// The main window's forms and the three niche overlap forms in a fresh working directory, with
// helpers to fill the main grid and to drive the modal forms.
#include "app/AnalysisLinks.h"
#include "framework/controls/UiSeam.h"
#include "models/overlap_diversity/NicheOverlapMain.h"
#include "models/overlap_diversity/NicheOverlapOpts.h"
#include "models/overlap_diversity/NicheOverlapUserDefined.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <QFile>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

class NicheFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        NicheOverlapUserDefined = create<TNicheOverlapUserDefined>();
        NicheOverlap = create<TNicheOverlap>();
        NicheOverlapOpts = create<TNicheOverlapOpts>();
        LinkAnalyses();
    }

    void TearDown() override
    {
        destroy(NicheOverlapOpts);
        destroy(NicheOverlap);
        destroy(NicheOverlapUserDefined);
        MainWindowFixture::TearDown();
    }

    // Rows of data cells as texts; species "sp1".., resource states "s1"...
    static void SetMatrix(const std::vector<std::vector<QString>> &Rows)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        const int cols = Rows.empty() ? 0 : static_cast<int>(Rows[0].size());
        g->SetRowCount(static_cast<int>(Rows.size()) + 1);
        g->SetColCount(cols + 1);
        g->SetCells(0, 0, QStringLiteral("species"));
        for (int c = 1; c <= cols; ++c) g->SetCells(c, 0, QStringLiteral("s%1").arg(c));
        for (int r = 1; r <= static_cast<int>(Rows.size()); ++r) {
            g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
            for (int c = 1; c <= cols; ++c) g->SetCells(c, r, Rows[r - 1][c - 1]);
        }
    }

    // The options the run reads: iterations (into the main window, as the Analyze command does),
    // seed, niche breadth, zero states and index.
    static void SetOptions(int Iterations, const QString &Seed, int Breadth = 0, int Zeros = 0, int Index = 0)
    {
        Tarvix->Iterations = Iterations;
        NicheOverlapOpts->RandomSeedEdit->SetText(Seed);
        NicheOverlapOpts->NicheBreadthGroup->SetItemIndex(Breadth);
        NicheOverlapOpts->ZeroStatesGroup->SetItemIndex(Zeros);
        NicheOverlapOpts->IndexGroup->SetItemIndex(Index);
    }

    // The results window's Run; Step runs while the window is up, then it is closed.
    static void RunAnalysis(const std::function<void()> &Step = {})
    {
        WhileShown(NicheOverlap, [] { NicheOverlap->Run(); }, Step);
    }

    static QStringList Lines(TMemo *M) { return M->Lines()->ToStringList(); }
    static QStringList Summary() { return Lines(NicheOverlap->Memo1); }
    // The rest of the first summary line that starts with Prefix.
    static QString Value(const QStringList &S, const QString &Prefix)
    {
        for (const QString &l : S)
            if (l.startsWith(Prefix)) return l.mid(Prefix.size());
        return QStringLiteral("<missing>");
    }
};
