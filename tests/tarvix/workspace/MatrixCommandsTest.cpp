// Resize, transpose and randomize on the main window's grid, the resize dialog driven as a user would.
#include "framework/controls/UiSeam.h"
#include "framework/rtl/System.h"
#include "tests/tarvix/workspace/MainWindowFixture.h"
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Snapshot = std::vector<std::vector<QString>>;

Snapshot snapshot(TStringGrid *g)
{
    Snapshot s(g->RowCount(), std::vector<QString>(g->ColCount()));
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c)
            s[r][c] = g->Cells(c, r);
    return s;
}

}  // namespace

class MatrixCommands : public MainWindowFixture
{
protected:
    // Runs the resize dialog: each step runs in turn while the dialog is up.
    void resize(std::vector<std::function<void()>> steps)
    {
        for (size_t i = 0; i < steps.size(); ++i)
            QTimer::singleShot(int(i) * 5, steps[i]);
        Tarvix->RestructMatrix->Click();
    }
    std::function<void()> enter(const QString &rows, const QString &cols)
    {
        return [rows, cols] {
            TarvixRedoMatrix->Edit1->SetText(rows);
            TarvixRedoMatrix->Edit2->SetText(cols);
            TarvixRedoMatrix->Button1->Click();
        };
    }
    TProStringGrid *grid() const { return Tarvix->MainGrid; }
};

TEST_F(MatrixCommands, GrowingRowsAddsTitledRowsOfOnes)
{
    const Snapshot before = snapshot(grid());
    resize({[] {
                EXPECT_EQ(TarvixRedoMatrix->Caption(), "Resize Matrix");
                EXPECT_EQ(TarvixRedoMatrix->Edit1->Text(), "5");
                EXPECT_EQ(TarvixRedoMatrix->Edit2->Text(), "5");
                EXPECT_EQ(TarvixRedoMatrix->FileNameEdit->Text(), Tarvix->FileName);
            },
            enter("7", "5")});
    ASSERT_EQ(grid()->RowCount(), 8);
    ASSERT_EQ(grid()->ColCount(), 6);
    const QRegularExpression title("^species0\\.\\d{7}$");
    for (int r = 6; r <= 7; ++r) {
        EXPECT_TRUE(title.match(grid()->Cells(0, r)).hasMatch()) << grid()->Cells(0, r).toStdString();
        for (int c = 1; c <= 5; ++c)
            EXPECT_EQ(grid()->Cells(c, r), "1");
    }
    EXPECT_NE(grid()->Cells(0, 6), grid()->Cells(0, 7));
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(grid()->Cells(c, r), before[r][c]);
    // Nothing beyond the new size was written.
    grid()->SetColCount(7);
    grid()->SetRowCount(9);
    for (int r = 0; r < 9; ++r)
        EXPECT_EQ(grid()->Cells(6, r), "");
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(grid()->Cells(c, 8), "");
}

TEST_F(MatrixCommands, GrowingBothWaysFillsEveryNewCellAndShrinkingWritesNothing)
{
    Tarvix->Close1->Click();
    Tarvix->RestructureGrid(5, 5, 7, 6);
    ASSERT_EQ(grid()->ColCount(), 8);
    ASSERT_EQ(grid()->RowCount(), 7);
    for (int r = 1; r < 7; ++r)
        for (int c = 1; c < 8; ++c)
            EXPECT_EQ(grid()->Cells(c, r), (r <= 5 && c <= 5) ? "0" : "1") << c << "," << r;
    EXPECT_TRUE(grid()->Cells(7, 0).startsWith("site0."));

    Tarvix->Close1->Click();
    Tarvix->RestructureGrid(5, 5, 2, 3);
    ASSERT_EQ(grid()->ColCount(), 3);
    ASSERT_EQ(grid()->RowCount(), 4);
    for (int r = 1; r < 4; ++r)
        for (int c = 1; c < 3; ++c)
            EXPECT_EQ(grid()->Cells(c, r), "0");
}

TEST_F(MatrixCommands, RefusedSizesChangeNothing)
{
    struct Case
    {
        int32_t Cols, Rows;
        const char *Message;
    };
    const Case cases[] = {
        {1101, 400, "1 < Cell limits < 440,000, e.g. 200x2200."},
        {65536, 65537, "1 < Cell limits < 440,000, e.g. 200x2200."},  // wraps to 65536 in 32 bits
        {0, 5, "1 < Cell limits < 440,000, e.g. 200x2200."},
        {-3, 5, "1 < Cell limits < 440,000, e.g. 200x2200."},
        {-5, -5, "Rows must be >= 1"},
    };
    const Snapshot before = snapshot(grid());
    for (const Case &k : cases) {
        TUiScript script;
        Tarvix->RestructureGrid(5, 5, k.Cols, k.Rows);
        EXPECT_EQ(script.Messages(), QStringList{QString::fromLatin1(k.Message)}) << k.Cols << "x" << k.Rows;
        EXPECT_EQ(snapshot(grid()), before);
    }
}

TEST_F(MatrixCommands, TheCellLimitItselfIsAccepted)
{
    TUiScript script;
    resize({enter("400", "1100")});
    EXPECT_TRUE(script.Messages().isEmpty());
    EXPECT_EQ(grid()->RowCount(), 401);
    EXPECT_EQ(grid()->ColCount(), 1101);
    EXPECT_EQ(grid()->Cells(1100, 400), "1");
}

TEST_F(MatrixCommands, DialogErrorsKeepItOpenAndCancelAppliesNothing)
{
    const Snapshot before = snapshot(grid());
    TUiScript script;
    bool openAfterError = false;
    resize({enter("10", "0"), [&] {
                openAfterError = TarvixRedoMatrix->Visible();
                TarvixRedoMatrix->Button2->Click();
            }});
    EXPECT_TRUE(openAfterError);
    EXPECT_EQ(script.Messages(), QStringList{"Cols must be >= 1"});
    EXPECT_EQ(snapshot(grid()), before);

    resize({enter("x", "5"), enter("6", "5")});
    EXPECT_EQ(script.Messages().last(), "Rows must be >= 1");
    EXPECT_EQ(grid()->RowCount(), 7);
}

TEST_F(MatrixCommands, ASettingsErrorClosesTheDialogAndAppliesNothing)
{
    const Snapshot before = snapshot(grid());
    TUiScript script;
    resize({enter("8", "99999999999")});
    EXPECT_EQ(script.Messages(), QStringList{"Settings Error"});
    EXPECT_FALSE(TarvixRedoMatrix->Visible());
    EXPECT_EQ(snapshot(grid()), before);
}

TEST_F(MatrixCommands, AboutFileShowsTheSizeReadOnlyAndChangesNothing)
{
    Tarvix->RestructureGrid(5, 5, 3, 8);
    const Snapshot before = snapshot(grid());
    bool readOnly = false;
    QTimer::singleShot(0, [&] {
        readOnly = TarvixRedoMatrix->Edit1->ReadOnly() && TarvixRedoMatrix->Edit2->ReadOnly();
        TarvixRedoMatrix->Button1->Click();
    });
    Tarvix->About2->Click();
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(TarvixRedoMatrix->Caption(), "About " + Tarvix->FileName);
    EXPECT_EQ(TarvixRedoMatrix->Edit1->Text(), "8");
    EXPECT_EQ(TarvixRedoMatrix->Edit2->Text(), "3");
    EXPECT_EQ(snapshot(grid()), before);

    // The resize dialog is editable again afterwards.
    resize({[] {
        EXPECT_FALSE(TarvixRedoMatrix->Edit1->ReadOnly());
        TarvixRedoMatrix->Button2->Click();
    }});
}

TEST_F(MatrixCommands, TransposeSwapsCellsAndTwiceRestoresTheGrid)
{
    Tarvix->RestructureGrid(5, 5, 5, 7);
    grid()->SetCells(3, 7, "x");
    const Snapshot before = snapshot(grid());
    Tarvix->Transformmatrix1->Click();
    ASSERT_EQ(grid()->RowCount(), 6);
    ASSERT_EQ(grid()->ColCount(), 8);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 8; ++c)
            EXPECT_EQ(grid()->Cells(c, r), before[c][r]);
    EXPECT_EQ(grid()->Cells(0, 0), "species");
    EXPECT_EQ(grid()->Cells(0, 2), "site2");
    Tarvix->Transformmatrix1->Click();
    EXPECT_EQ(snapshot(grid()), before);
}

TEST_F(MatrixCommands, RandomizeFillsOnlyTheDataCells)
{
    struct Case
    {
        TMenuItem *Item;
        const char *Pattern;
    };
    const Case cases[] = {
        {Tarvix->N011, "^[01]$"},
        {Tarvix->N01, "^0\\.\\d{5}$"},
        {Tarvix->N1X1001, "^\\d$"},
    };
    // Seeded: a draw of 0.999995 or more would round to "1.00000".
    RandSeed = 20261210;
    Tarvix->RestructureGrid(5, 5, 4, 30);
    for (const Case &k : cases) {
        Tarvix->Close1->Click();
        Tarvix->RestructureGrid(5, 5, 4, 30);
        const Snapshot before = snapshot(grid());
        k.Item->Click();
        const QRegularExpression re(QString::fromLatin1(k.Pattern));
        QSet<QString> seen;
        for (int r = 0; r < grid()->RowCount(); ++r)
            for (int c = 0; c < grid()->ColCount(); ++c) {
                if (r == 0 || c == 0) {
                    EXPECT_EQ(grid()->Cells(c, r), before[r][c]);
                    continue;
                }
                EXPECT_TRUE(re.match(grid()->Cells(c, r)).hasMatch()) << k.Pattern << " " << grid()->Cells(c, r).toStdString();
                seen.insert(grid()->Cells(c, r));
            }
        EXPECT_GT(seen.size(), 1) << k.Pattern;
    }

    // A grid without data rows is left alone.
    grid()->SetRowCount(1);
    const Snapshot before = snapshot(grid());
    Tarvix->N01->Click();
    EXPECT_EQ(snapshot(grid()), before);
}
