#pragma once
// The main window's forms and the three co-occurrence forms in a fresh working directory, with
// helpers to fill the main grid and to drive the modal forms.
#include "app/AnalysisLinks.h"
#include "framework/controls/UiSeam.h"
#include "models/presence_absence/CoOccurrenceMain.h"
#include "models/presence_absence/CoOccurrenceOpts.h"
#include "models/presence_absence/CoOccurrenceUserDefined.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <QFile>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

class CoOccurrenceFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        CoOccurrenceUserDefined = create<TCoOccurrenceUserDefined>();
        CoOccurrenceOpts = create<TCoOccurrenceOpts>();
        CoOccurrence = create<TCoOccurrence>();
        LinkAnalyses();
    }

    void TearDown() override
    {
        destroy(CoOccurrence);
        destroy(CoOccurrenceOpts);
        destroy(CoOccurrenceUserDefined);
        MainWindowFixture::TearDown();
    }

    // Rows of data cells; species "sp1".., sites "s1"...
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

    static void SetOptions(const QString &Iterations, const QString &Seed)
    {
        CoOccurrenceOpts->IterationsEdit->SetText(Iterations);
        CoOccurrenceOpts->RandomSeedEdit->SetText(Seed);
    }

    // The results window's Run, closing the window when it shows.
    static void RunAnalysis()
    {
        WhileShown(CoOccurrence, [] { CoOccurrence->Run(); });
    }

    static QByteArray FileBytes(const QString &Name)
    {
        QFile f(Name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QStringList Lines(TMemo *M) { return M->Lines()->ToStringList(); }

};
