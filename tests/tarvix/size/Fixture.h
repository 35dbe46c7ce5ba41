#pragma once
// The main window's forms and the size overlap forms, created in the program block's order in a
// fresh working directory, with helpers to fill the main grid and to drive the modal forms.
#include "app/AnalysisLinks.h"
#include "framework/controls/UiSeam.h"
#include "models/overlap_diversity/SizeOverlapHistogram.h"
#include "models/overlap_diversity/SizeOverlapMain.h"
#include "models/overlap_diversity/SizeOverlapOpts.h"
#include "models/overlap_diversity/SizeOverlapUserDefined.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class SizeFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        SizeOverlap = create<TSizeOverlap>();
        SizeOverlapOpts = create<TSizeOverlapOpts>();
        SizeOverLapUD1 = create<TSizeOverLapUD1>();
        SizeOverLapUD2 = create<TSizeOverLapUD2>();
        SizeOverLapUD3 = create<TSizeOverLapUD3>();
        SizeOverLapUD4 = create<TSizeOverLapUD4>();
        SizeOverLapUD5 = create<TSizeOverLapUD5>();
        SizeOverLapUD6 = create<TSizeOverLapUD6>();
        LinkAnalyses();
    }

    void TearDown() override
    {
        destroy(SizeOverLapUD6);
        destroy(SizeOverLapUD5);
        destroy(SizeOverLapUD4);
        destroy(SizeOverLapUD3);
        destroy(SizeOverLapUD2);
        destroy(SizeOverLapUD1);
        destroy(SizeOverlapOpts);
        destroy(SizeOverlap);
        MainWindowFixture::TearDown();
    }

    // Species "sp1".. with one column of cell texts per entry of Columns (titles "c1"..).
    static void SetColumns(const std::vector<std::vector<QString>> &Columns)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        const int rows = Columns.empty() ? 0 : static_cast<int>(Columns[0].size());
        g->SetRowCount(rows + 1);
        g->SetColCount(static_cast<int>(Columns.size()) + 1);
        g->SetCells(0, 0, QStringLiteral("species"));
        for (int r = 1; r <= rows; ++r) g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
        for (size_t c = 0; c < Columns.size(); ++c) {
            g->SetCells(static_cast<int>(c) + 1, 0, QStringLiteral("c%1").arg(c + 1));
            for (int r = 1; r <= rows; ++r) g->SetCells(static_cast<int>(c) + 1, r, Columns[c][size_t(r - 1)]);
        }
    }

    static void SetColumn(const std::vector<QString> &Cells) { SetColumns({Cells}); }

    // The options dialog as the Analyze command shows it, with Step run while it is up.
    static void ShowOptions(const std::function<void()> &Step)
    {
        WhileShown(SizeOverlapOpts, [] { SizeOverlapOpts->ShowModal(); }, Step);
    }

    static void SetOptions(const QString &Iterations, const QString &Seed)
    {
        SizeOverlapOpts->IterationsEdit->SetText(Iterations);
        SizeOverlapOpts->RandomSeedEdit->SetText(Seed);
    }

    // The results window's Run, closing the window when it shows.
    static void RunAnalysis()
    {
        WhileShown(SizeOverlap, [] { SizeOverlap->Run(); });
    }

    static QStringList Lines(TMemo *M) { return M->Lines()->ToStringList(); }

    static QString Value(const QStringList &S, const QString &Prefix)
    {
        for (const QString &l : S)
            if (l.startsWith(Prefix)) return l.mid(Prefix.size());
        return QStringLiteral("<missing>");
    }

    static QStringList Column(TStringGrid *g, int c)
    {
        QStringList out;
        for (int r = 0; r < g->RowCount(); ++r) out << g->Cells(c, r);
        return out;
    }
};


inline std::vector<TForm *> SizeDialogs()
{
    return {SizeOverLapUD1, SizeOverLapUD2, SizeOverLapUD3, SizeOverLapUD4, SizeOverLapUD5, SizeOverLapUD6};
}
