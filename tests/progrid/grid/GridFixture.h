#pragma once
// A grid with its protected state open to the tests, and helpers to fill and read columns.
#include "grid/core/ProGrid.h"
#include "tests/common/TestSupport.h"
#include <QStringList>

class TTestGrid : public TProStringGrid
{
public:
    explicit TTestGrid(TComponent *AOwner = nullptr) : TProStringGrid(AOwner) {}
    using TBaseGrid::FHasCellProps;
    using TBaseGrid::FHideLastRow;
    using TBaseGrid::FNormalRowCount;
    using TProStringGrid::FMaxRowCount;
    using TProStringGrid::GetEditText;
    using TProStringGrid::SetEditText;
    using TProStringGrid::KeyDown;
    using TProStringGrid::DoMouseWheelDown;
    using TProStringGrid::DoMouseWheelUp;

    int Invalidates = 0;
    int LastRowWrites = 0;
    void Invalidate() override
    {
        ++Invalidates;
        TProStringGrid::Invalidate();
    }

protected:
    void LastRowWritten() override { ++LastRowWrites; }
};

// Counts destructions so that tests can see which properties objects were freed.
class TCountedProps : public TCellProperties
{
public:
    TCountedProps(TBaseGrid *g, int c, int r, int &freed) : TCellProperties(g, c, r), freed_(freed) {}
    ~TCountedProps() override { ++freed_; }

private:
    int &freed_;
};

inline void FillColumn(TProStringGrid &g, int col, const QStringList &texts)
{
    g.SetRowCount(texts.size());
    for (int r = 0; r < texts.size(); ++r)
        g.SetCells(col, r, texts[r]);
}

inline QStringList ReadColumn(TProStringGrid &g, int col)
{
    QStringList out;
    for (int r = 0; r < g.RowCount(); ++r)
        out << g.Cells(col, r);
    return out;
}

// The message of the grid error F raises, or "no error".
template <typename F>
QString GridErrorOf(F &&f)
{
    try {
        f();
    } catch (const EProGridError &e) {
        return e.Message();
    }
    return QStringLiteral("no error");
}
