// Mini-HTML cells on their way into files.
#include "grid/core/ProGrid.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SaveWithHTML, FalseStripsMarkupFromHTMLCells)
{
    TProStringGrid g(nullptr);
    EXPECT_TRUE(g.SaveWithHTML());
    g.SetCells(1, 1, QStringLiteral("a<b>b</b>"));
    g.SetCells(2, 1, QStringLiteral("x<y"));
    QString v;
    g.SaveCell(1, 1, v);
    EXPECT_EQ(v, QStringLiteral("a<b>b</b>"));
    g.SetSaveWithHTML(false);
    g.SaveCell(1, 1, v);
    EXPECT_EQ(v, QStringLiteral("ab"));
    // Not mini-HTML: kept as it is.
    g.SaveCell(2, 1, v);
    EXPECT_EQ(v, QStringLiteral("x<y"));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("t.csv"));
    g.SaveToCSV(file, false);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_GT(lines.size(), 1);
    EXPECT_TRUE(lines[1].startsWith("\"\",ab,x<y,")) << lines[1].constData();
}
