#include "framework/controls/SysMetrics.h"
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

int GetSystemMetrics(int Index)
{
    switch (Index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        // The primary display.
        const QScreen *s = QGuiApplication::primaryScreen();
        if (!s)
            return 0;
        return Index == SM_CXSCREEN ? s->geometry().width() : s->geometry().height();
    }
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    default:
        return 0;
    }
}

bool AddWindowExStyle(HWND Wnd, uint32_t ExStyle)
{
    TWinControl *c = FindControl(Wnd);
    if (!c || !c->Widget())
        return false;
    if (ExStyle & WS_EX_TRANSPARENT)
        c->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    return true;
}
