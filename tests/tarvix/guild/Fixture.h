#pragma once
// The main window's forms with the guild structure and species overlap forms in a fresh working
// directory, and helpers to fill the main grid with labelled rows and to drive the modal forms.
#include "app/AnalysisLinks.h"
#include "framework/controls/UiSeam.h"
#include "models/presence_absence/GuildStructureMain.h"
#include "models/presence_absence/GuildStructureOpts.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"

#include <QFile>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

class GroupFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        GuildStructureOpts = create<TGuildStructureOpts>();
        GuildStructure = create<TGuildStructure>();
        LinkAnalyses();
    }

    void TearDown() override
    {
        destroy(GuildStructure);
        destroy(GuildStructureOpts);
        MainWindowFixture::TearDown();
    }

    // One row per entry: its label, then one character per site ("1100"); species "sp1"..,
    // sites "s1".., the label column titled "guild".
    static void SetGroups(const QStringList &Labels, const QStringList &Rows)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        const int sites = Rows.isEmpty() ? 0 : static_cast<int>(Rows[0].size());
        g->SetRowCount(static_cast<int>(Rows.size()) + 1);
        g->SetColCount(sites + 2);
        g->SetCells(0, 0, QStringLiteral("species"));
        g->SetCells(1, 0, QStringLiteral("guild"));
        for (int c = 1; c <= sites; ++c) g->SetCells(c + 1, 0, QStringLiteral("s%1").arg(c));
        for (int r = 1; r <= static_cast<int>(Rows.size()); ++r) {
            g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
            g->SetCells(1, r, Labels[r - 1]);
            for (int c = 1; c <= sites; ++c) g->SetCells(c + 1, r, QString(Rows[r - 1][c - 1]));
        }
    }

    // The fixture of the guild table: a 1100, a 0011, b 1100, b 1100, b 0011.
    static void SetGuilds() { SetGroups({"a", "a", "b", "b", "b"}, {"1100", "0011", "1100", "1100", "0011"}); }

    static void SetOptions(TGroupOpts *Opts, const QString &Iterations, const QString &Seed)
    {
        Opts->IterationsEdit->SetText(Iterations);
        Opts->RandomSeedEdit->SetText(Seed);
    }

    // A results window's Run, closing the window when it shows.
    static void RunAnalysis(TGroupResults *Window)
    {
        WhileShown(Window, [Window] { Window->Run(); });
    }

    static QByteArray FileBytes(const QString &Name)
    {
        QFile f(Name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QStringList Lines(TMemo *M) { return M->Lines()->ToStringList(); }

    // The text after Prefix on the first line that starts with it, from line From on.
    static QString Value(const QStringList &S, const QString &Prefix, int From = 0)
    {
        for (int i = From; i < S.size(); ++i)
            if (S[i].startsWith(Prefix)) return S[i].mid(Prefix.size());
        return QStringLiteral("<missing>");
    }

    static QStringList TableRow(TStringGrid *Grid, int Row)
    {
        QStringList cells;
        for (int c = 0; c < Grid->ColCount(); ++c) cells << Grid->Cells(c, Row);
        return cells;
    }
};
