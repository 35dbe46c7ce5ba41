#pragma once
// The main window's forms and the three species diversity forms in a fresh working directory,
// with helpers to fill the main grid and to drive the modal forms.
#include "app/AnalysisLinks.h"
#include "framework/controls/UiSeam.h"
#include "models/overlap_diversity/SpeciesDiversityLevels.h"
#include "models/overlap_diversity/SpeciesDiversityMain.h"
#include "models/overlap_diversity/SpeciesDiversityOpts.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

class DiversityFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        SpeciesDiversityOpts = create<TSpeciesDiversityOpts>();
        SpeciesDiversity = create<TSpeciesDiversity>();
        AbundanceLevelsOpts = create<TAbundanceLevelsOpts>();
        LinkAnalyses();
    }

    void TearDown() override
    {
        destroy(AbundanceLevelsOpts);
        destroy(SpeciesDiversity);
        destroy(SpeciesDiversityOpts);
        MainWindowFixture::TearDown();
    }

    // Rows of data cells (species "sp1".., samples "s1"..).
    static void SetMatrix(const std::vector<std::vector<int>> &Rows)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        const int cols = Rows.empty() ? 0 : static_cast<int>(Rows[0].size());
        g->SetRowCount(static_cast<int>(Rows.size()) + 1);
        g->SetColCount(cols + 1);
        g->SetCells(0, 0, QStringLiteral("species"));
        for (int c = 1; c <= cols; ++c) g->SetCells(c, 0, QStringLiteral("s%1").arg(c));
        for (int r = 1; r <= static_cast<int>(Rows.size()); ++r) {
            g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
            for (int c = 1; c <= cols; ++c) g->SetCells(c, r, QString::number(Rows[r - 1][c - 1]));
        }
    }

    // One data column holding these counts.
    static void SetColumn(const std::vector<int> &Counts)
    {
        std::vector<std::vector<int>> rows;
        for (int n : Counts) rows.push_back({n});
        SetMatrix(rows);
    }

    static void SetLevels(const QStringList &Lines)
    {
        AbundanceLevelsOpts->Memo1->Lines()->Clear();
        for (const QString &l : Lines) AbundanceLevelsOpts->Memo1->Lines()->Add(l);
    }

    static QStringList Lines(TMemo *M) { return M->Lines()->ToStringList(); }
};
