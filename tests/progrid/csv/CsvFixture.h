#pragma once
// A grid with its notifications recorded, and files written to and read from a temporary folder.
#include "grid/core/ProGrid.h"
#include "framework/rtl/CodePage.h"
#include "tests/common/TestSupport.h"
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

class TCsvGrid : public TProStringGrid
{
public:
    explicit TCsvGrid(TComponent *AOwner = nullptr) : TProStringGrid(AOwner) {}
    using TProStringGrid::FMaxRowCount;

    std::vector<std::pair<TGridExportState, int>> Exports;

protected:
    void ExportNotification(TGridExportState AState, int ARow) override { Exports.push_back({AState, ARow}); }
};

class CsvTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    TCsvGrid g;

    QString Path(const QString &name = QStringLiteral("t.csv")) const { return dir.filePath(name); }

    QString WriteBytes(const QByteArray &bytes, const QString &name = QStringLiteral("t.csv"))
    {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return Path(name);
    }

    QByteArray ReadBytes(const QString &name = QStringLiteral("t.csv")) const
    {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    // Loads Windows-1252 text after clearing the grid.
    void Load(const QString &text, int maxRows = -1)
    {
        g.Clear();
        g.LoadFromCSV(WriteBytes(StringToAnsi(text)), maxRows);
    }

    QStringList Row(int r)
    {
        QStringList out;
        for (int c = 0; c < g.ColCount(); ++c)
            out << g.Cells(c, r);
        return out;
    }

    void Fill(const std::vector<QStringList> &rows)
    {
        g.SetRowCount(int(rows.size()));
        g.SetColCount(int(rows[0].size()));
        for (int r = 0; r < int(rows.size()); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                g.SetCells(c, r, rows[r][c]);
    }
};
