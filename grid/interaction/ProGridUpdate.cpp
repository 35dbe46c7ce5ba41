#include "grid/core/ProGrid.h"

// The lock counts only while the grid is visible: a hidden grid repaints nothing anyway, and
// an EndUpdate after showing it then repaints at once.
void TProStringGrid::BeginUpdate()
{
    if (!Visible())
        return;
    ++FUpdateCount;
    Perform(WM_SETREDRAW, 0);
}

void TProStringGrid::EndUpdate()
{
    if (!Visible())
        return;
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FUpdateCount == 0 && !IsDestroying()) {
        Perform(WM_SETREDRAW, 1);
        Invalidate();
    }
}

void TProStringGrid::SetLockUpdate(bool v)
{
    if (v)
        BeginUpdate();
    else
        EndUpdate();
}
