#include "framework/controls/Layered.h"
#include <QBitmap>
#include <QPalette>
#include <QPixmap>
#include <QPolygon>
#include <QRegion>

bool SetLayeredWindowAttributes(HWND Wnd, TColorRef Key, uint8_t Alpha, uint32_t Flags)
{
    TWinControl *c = FindControl(Wnd);
    QWidget *w = c ? c->Widget() : nullptr;
    if (!w)
        return false;
    if (Flags & LWA_ALPHA)
        w->setWindowOpacity(Alpha / 255.0);
    if (Flags & LWA_COLORKEY) {
        const QImage face = w->grab().toImage();
        const QColor key(GetRValue(Key), GetGValue(Key), GetBValue(Key));
        w->setMask(QBitmap::fromImage(face.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    }
    return true;
}

bool UpdateLayeredWindow(HWND Wnd, const TPoint *Pos, TBitmap *Source, uint8_t Alpha)
{
    TWinControl *c = FindControl(Wnd);
    QWidget *w = c ? c->Widget() : nullptr;
    if (!w || !Source || Source->Empty())
        return false;
    QImage img = Source->Image();
    if (Source->PixelFormat() == pf32bit) {
        img = img.convertToFormat(QImage::Format_ARGB32);
        img.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    }
    w->setAttribute(Qt::WA_TranslucentBackground, true);
    QPalette pal = w->palette();
    pal.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(img)));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
    w->setWindowOpacity(Alpha / 255.0);
    const TPoint at = Pos ? *Pos : TPoint(c->Left(), c->Top());
    c->SetBounds(at.X, at.Y, img.width(), img.height());
    return true;
}

void MakePopupWindow(TWinControl *Control, uint32_t Style, uint32_t ExStyle)
{
    QWidget *w = Control ? Control->Widget() : nullptr;
    if (!w)
        return;
    const bool shown = w->isVisible();
    Qt::WindowFlags f = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    if (ExStyle & WS_EX_TOPMOST)
        f |= Qt::WindowStaysOnTopHint;
    w->setWindowFlags(f);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    w->setAttribute(Qt::WA_TransparentForMouseEvents, (Style & WS_DISABLED) != 0);
    w->setVisible(shown);
}

bool SetWindowRgn(HWND Wnd, const std::vector<TPoint> &Polygon, bool Winding)
{
    TWinControl *c = FindControl(Wnd);
    QWidget *w = c ? c->Widget() : nullptr;
    if (!w)
        return false;
    if (Polygon.empty()) {
        w->clearMask();
        return true;
    }
    QPolygon poly;
    for (const TPoint &p : Polygon)
        poly << QPoint(p.X, p.Y);
    w->setMask(QRegion(poly, Winding ? Qt::WindingFill : Qt::OddEvenFill));
    return true;
}
