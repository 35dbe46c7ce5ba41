#include "framework/graphics/Graphics.h"
#include "framework/rtl/SysUtils.h"
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QtMath>
#include <cmath>

namespace {

QRect qrect(const TRect &r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

QPainter::CompositionMode compositionOf(TPenMode m)
{
    switch (m) {
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QBrush qbrushOf(const TBrush *b)
{
    Qt::BrushStyle s = Qt::SolidPattern;
    switch (b->Style()) {
    case bsClear: s = Qt::NoBrush; break;
    case bsHorizontal: s = Qt::HorPattern; break;
    case bsVertical: s = Qt::VerPattern; break;
    case bsFDiagonal: s = Qt::FDiagPattern; break;
    case bsBDiagonal: s = Qt::BDiagPattern; break;
    case bsCross: s = Qt::CrossPattern; break;
    case bsDiagCross: s = Qt::DiagCrossPattern; break;
    default: break;
    }
    return QBrush(ColorToQColor(b->Color()), s);
}

// Splits text on &-prefixes: "&&" is a literal ampersand, a single "&" is dropped.
QString stripPrefix(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('&'))
                out += QLatin1Char('&'), ++i;
            continue;
        }
        out += s[i];
    }
    return out;
}

} // namespace

TCanvas::TCanvas() : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {}

TCanvas::~TCanvas()
{
    // The outside painter belongs to its paint event; only our own one ends here.
    own_.reset();
}

void TCanvas::AttachPainter(QPainter *painter)
{
    DetachPainter();
    FreeHandle();
    external_ = painter;
    if (external_)
        external_->save();
}

void TCanvas::DetachPainter()
{
    if (!external_)
        return;
    while (saveDepth_ > 0)
        RestoreState();
    external_->restore();
    external_ = nullptr;
}

void TCanvas::FreeHandle()
{
    if (own_) {
        saveDepth_ = 0;
        if (own_->isActive())
            own_->end();
        own_.reset();
    }
}

QPainter *TCanvas::Painter()
{
    if (external_)
        return external_;
    if (!own_) {
        QPainter *p = CreatePainter();
        if (!p)
            return nullptr;
        own_.reset(p);
    }
    return own_.get();
}

bool TCanvas::HandleAllocated() const { return external_ || own_; }

intptr_t TCanvas::Handle() { return reinterpret_cast<intptr_t>(Painter()); }

QPainter *TCanvas::ready()
{
    QPainter *p = Painter();
    if (!p || !p->isActive())
        throw EInvalidOperation(QStringLiteral("Canvas does not allow drawing"));
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setRenderHint(QPainter::TextAntialiasing, true);
    return p;
}

Qt::PenStyle PenStyleToQt(TPenStyle Style)
{
    switch (Style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

void TCanvas::applyPen(QPainter *p)
{
    if (pen_->Style() == psClear) {
        p->setPen(Qt::NoPen);
    } else {
        QPen pen(ColorToQColor(pen_->Color()));
        pen.setWidth(std::max(1, pen_->Width()));
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setStyle(PenStyleToQt(pen_->Style()));
        p->setPen(pen);
    }
    p->setCompositionMode(compositionOf(pen_->Mode()));
}

void TCanvas::applyBrush(QPainter *p) { p->setBrush(qbrushOf(brush_.get())); }

void TCanvas::applyFont(QPainter *p)
{
    p->setFont(font_->ToQFont());
    p->setPen(ColorToQColor(font_->Color()));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::fillTextBackground(QPainter *p, const QRect &r)
{
    if (brush_->Style() != bsClear)
        p->fillRect(r, ColorToQColor(brush_->Color()));
}

// ---------------------------------------------------------------------------------------------
// Lines and shapes

void TCanvas::MoveTo(int X, int Y) { penPos_ = TPoint(X, Y); }

void TCanvas::LineTo(int X, int Y)
{
    QPainter *p = ready();
    applyPen(p);
    const TPoint from = penPos_;
    penPos_ = TPoint(X, Y);
    int dx = X - from.X, dy = Y - from.Y;
    int n = std::max(std::abs(dx), std::abs(dy));
    if (n == 0 || pen_->Style() == psClear)
        return;
    if (pen_->Width() > 1) {
        p->drawLine(from.X, from.Y, X, Y);
        return;
    }
    // A thin line stops one step short of its end point; the square cap makes Qt draw both
    // ends of what is left, whichever way the line runs.
    QPen pen = p->pen();
    pen.setCapStyle(Qt::SquareCap);
    p->setPen(pen);
    auto step = [&](int d) { return int(std::lround(double(d) * (n - 1) / n)); };
    QPoint last(from.X + step(dx), from.Y + step(dy));
    if (last == QPoint(from.X, from.Y))
        p->drawPoint(last);
    else
        p->drawLine(QPoint(from.X, from.Y), last);
}

void TCanvas::Polyline(const std::vector<TPoint> &Points)
{
    if (Points.empty())
        return;
    MoveTo(Points[0].X, Points[0].Y);
    for (size_t i = 1; i < Points.size(); ++i)
        LineTo(Points[i].X, Points[i].Y);
}

void TCanvas::Polygon(const std::vector<TPoint> &Points)
{
    QPainter *p = ready();
    applyPen(p);
    applyBrush(p);
    QPolygon poly;
    for (const TPoint &pt : Points)
        poly << QPoint(pt.X, pt.Y);
    p->drawPolygon(poly);
}

void TCanvas::FillRect(const TRect &R)
{
    QPainter *p = ready();
    if (R.IsEmpty() || brush_->Style() == bsClear)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(qrect(R), qbrushOf(brush_.get()));
}

void TCanvas::FrameRect(const TRect &R)
{
    QPainter *p = ready();
    if (R.IsEmpty() || brush_->Style() == bsClear)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    QColor c = ColorToQColor(brush_->Color());
    int w = R.Width(), h = R.Height();
    p->fillRect(R.Left, R.Top, w, 1, c);
    p->fillRect(R.Left, R.Bottom - 1, w, 1, c);
    p->fillRect(R.Left, R.Top, 1, h, c);
    p->fillRect(R.Right - 1, R.Top, 1, h, c);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    QPainter *p = ready();
    if (X2 < X1) std::swap(X1, X2);
    if (Y2 < Y1) std::swap(Y1, Y2);
    if (X2 - X1 < 1 || Y2 - Y1 < 1)
        return;
    if (pen_->Style() == psClear) {
        // Without a pen the filled area is one pixel smaller each way.
        if (brush_->Style() != bsClear)
            p->fillRect(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1), qbrushOf(brush_.get()));
        return;
    }
    applyPen(p);
    applyBrush(p);
    int w = pen_->Width();
    if (w > 1 && pen_->Style() == psInsideFrame) {
        int h = w / 2;
        p->drawRect(QRect(X1 + h, Y1 + h, X2 - X1 - w, Y2 - Y1 - w));
    } else {
        p->drawRect(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
    }
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    QPainter *p = ready();
    applyPen(p);
    applyBrush(p);
    p->drawRoundedRect(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1), X3 / 2.0, Y3 / 2.0);
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    QPainter *p = ready();
    applyPen(p);
    applyBrush(p);
    p->drawEllipse(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
}

namespace {
// Angle in 1/16 degree of the ray from the centre of r through (x, y), counter-clockwise.
int rayAngle16(const QRect &r, int x, int y)
{
    double cx = r.left() + r.width() / 2.0, cy = r.top() + r.height() / 2.0;
    double a = std::atan2(-(y - cy), x - cx) * 180.0 / M_PI;
    return int(std::lround(a * 16));
}
int spanOf(int a0, int a1)
{
    int span = (a1 - a0) % (360 * 16);
    if (span <= 0)
        span += 360 * 16;
    return span;
}
} // namespace

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    QPainter *p = ready();
    applyPen(p);
    QRect r(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1);
    int a0 = rayAngle16(r, X3, Y3);
    p->drawArc(r, a0, spanOf(a0, rayAngle16(r, X4, Y4)));
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    QPainter *p = ready();
    applyPen(p);
    applyBrush(p);
    QRect r(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1);
    int a0 = rayAngle16(r, X3, Y3);
    p->drawPie(r, a0, spanOf(a0, rayAngle16(r, X4, Y4)));
}

void TCanvas::DrawFocusRect(const TRect &R)
{
    QPainter *p = ready();
    if (R.IsEmpty())
        return;
    // A dotted frame drawn by inverting every other pixel, so a second call removes it.
    p->save();
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->setPen(QPen(Qt::white, 1));
    QPolygon dots;
    for (int x = R.Left; x < R.Right; x += 2) {
        dots << QPoint(x, R.Top);
        if (R.Bottom - 1 > R.Top && ((x - R.Left + R.Height() - 1) % 2) == 0)
            dots << QPoint(x, R.Bottom - 1);
    }
    for (int x = R.Left + 1; x < R.Right; x += 2)
        if (R.Bottom - 1 > R.Top && ((x - R.Left + R.Height() - 1) % 2) == 0)
            dots << QPoint(x, R.Bottom - 1);
    for (int y = R.Top + 2; y < R.Bottom - 1; y += 2) {
        dots << QPoint(R.Left, y);
        if (R.Right - 1 > R.Left && ((R.Width() - 1 + y - R.Top) % 2) == 0)
            dots << QPoint(R.Right - 1, y);
    }
    for (int y = R.Top + 1; y < R.Bottom - 1; y += 2)
        if (R.Right - 1 > R.Left && ((R.Width() - 1 + y - R.Top) % 2) == 0)
            dots << QPoint(R.Right - 1, y);
    p->drawPoints(dots);
    p->restore();
}

void TCanvas::DrawEdge(TRect &R, uint32_t Edge, uint32_t Flags)
{
    QPainter *p = ready();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    TRect r = R;
    auto ring = [&](TColor topLeft, TColor bottomRight) {
        if (r.IsEmpty())
            return;
        QColor tl = ColorToQColor(topLeft), br = ColorToQColor(bottomRight);
        if (Flags & BF_TOP) p->fillRect(r.Left, r.Top, r.Width(), 1, tl);
        if (Flags & BF_LEFT) p->fillRect(r.Left, r.Top, 1, r.Height(), tl);
        if (Flags & BF_BOTTOM) p->fillRect(r.Left, r.Bottom - 1, r.Width(), 1, br);
        if (Flags & BF_RIGHT) p->fillRect(r.Right - 1, r.Top, 1, r.Height(), br);
        if (Flags & BF_LEFT) ++r.Left;
        if (Flags & BF_TOP) ++r.Top;
        if (Flags & BF_RIGHT) --r.Right;
        if (Flags & BF_BOTTOM) --r.Bottom;
    };
    if (Edge & BDR_RAISEDOUTER) ring(cl3DLight, cl3DDkShadow);
    else if (Edge & BDR_SUNKENOUTER) ring(clBtnShadow, clBtnHighlight);
    if (Edge & BDR_RAISEDINNER) ring(clBtnHighlight, clBtnShadow);
    else if (Edge & BDR_SUNKENINNER) ring(cl3DDkShadow, cl3DLight);
    if ((Flags & BF_MIDDLE) && !r.IsEmpty())
        p->fillRect(qrect(r), ColorToQColor(clBtnFace));
    if (Flags & BF_ADJUST)
        R = r;
}

// ---------------------------------------------------------------------------------------------
// Text

void TCanvas::drawTextRaw(QPainter *p, int X, int Y, const QString &Text)
{
    QFontMetrics fm(p->font(), p->device());
    p->drawText(QPoint(X, Y + fm.ascent()), Text);
}

void TCanvas::TextOut(int X, int Y, const QString &Text)
{
    QPainter *p = ready();
    applyFont(p);
    QFontMetrics fm(p->font(), p->device());
    int w = fm.horizontalAdvance(Text), h = fm.height();
    if (font_->Orientation() != 0) {
        p->save();
        p->translate(X, Y);
        p->rotate(-font_->Orientation() / 10.0);
        fillTextBackground(p, QRect(0, 0, w, h));
        drawTextRaw(p, 0, 0, Text);
        p->restore();
        double a = font_->Orientation() / 10.0 * M_PI / 180.0;
        penPos_ = TPoint(X + int(std::lround(w * std::cos(a))), Y - int(std::lround(w * std::sin(a))));
        return;
    }
    fillTextBackground(p, QRect(X, Y, w, h));
    drawTextRaw(p, X, Y, Text);
    penPos_ = TPoint(X + w, Y);
}

void TCanvas::TextRect(const TRect &R, int X, int Y, const QString &Text)
{
    QPainter *p = ready();
    applyFont(p);
    p->save();
    p->setClipRect(qrect(R), Qt::IntersectClip);
    fillTextBackground(p, qrect(R));
    drawTextRaw(p, X, Y, Text);
    p->restore();
}

int TCanvas::TextWidth(const QString &Text) { return TextExtent(Text).cx; }
int TCanvas::TextHeight(const QString &Text) { return TextExtent(Text).cy; }

TSize TCanvas::TextExtent(const QString &Text)
{
    QPainter *p = Painter();
    QFont f = font_->ToQFont();
    QFontMetrics fm = (p && p->isActive()) ? QFontMetrics(f, p->device()) : QFontMetrics(f);
    return TSize{fm.horizontalAdvance(Text), fm.height()};
}

namespace {

QString chopSpaces(QString s)
{
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}

struct TextLayout
{
    QFontMetrics fm;
    bool expandTabs;
    int tabWidth() const { return 8 * std::max(1, fm.averageCharWidth()); }

    int width(const QString &s) const
    {
        if (!expandTabs || !s.contains(QLatin1Char('\t')))
            return fm.horizontalAdvance(s);
        int x = 0;
        const QStringList parts = s.split(QLatin1Char('\t'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                x = (x / tabWidth() + 1) * tabWidth();
            x += fm.horizontalAdvance(parts[i]);
        }
        return x;
    }

    // Word-wraps one paragraph to maxWidth; long words are split only when breakWords.
    QStringList wrap(const QString &para, int maxWidth, bool breakWords) const
    {
        QStringList out;
        QString line;
        qsizetype i = 0;
        while (i < para.size()) {
            qsizetype j = i;
            while (j < para.size() && para[j] != QLatin1Char(' '))
                ++j;
            qsizetype k = j;
            while (k < para.size() && para[k] == QLatin1Char(' '))
                ++k;
            QString word = para.mid(i, j - i), gap = para.mid(j, k - j);
            if (!line.isEmpty() && width(line + word) > maxWidth) {
                out << chopSpaces(line);
                line.clear();
            }
            if (line.isEmpty() && breakWords && width(word) > maxWidth) {
                while (!word.isEmpty() && width(word) > maxWidth) {
                    qsizetype n = 1;
                    while (n < word.size() && width(word.left(n + 1)) <= maxWidth)
                        ++n;
                    out << word.left(n);
                    word = word.mid(n);
                }
            }
            line += word + gap;
            i = k;
        }
        out << chopSpaces(line);
        return out;
    }
};

} // namespace

int TCanvas::DrawText(const QString &Text, TRect &R, uint32_t Format)
{
    QPainter *p = Painter();
    const bool active = p && p->isActive();
    if (!active && !(Format & DT_CALCRECT))
        ready();
    QFont f = font_->ToQFont();
    TextLayout lay{active ? QFontMetrics(f, p->device()) : QFontMetrics(f), bool(Format & DT_EXPANDTABS)};
    QString text = (Format & DT_NOPREFIX) ? Text : stripPrefix(Text);

    QStringList lines;
    if (Format & DT_SINGLELINE) {
        lines << QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    } else {
        const QStringList paras = LfLineBreaks(text).split(QLatin1Char('\n'));
        for (const QString &para : paras) {
            if (Format & DT_WORDBREAK)
                lines << lay.wrap(para, std::max(1, R.Width()), Format & DT_EDITCONTROL);
            else
                lines << para;
        }
    }
    if (Format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) {
        for (QString &l : lines)
            if (lay.width(l) > R.Width())
                l = lay.fm.elidedText(l, (Format & DT_PATH_ELLIPSIS) ? Qt::ElideMiddle : Qt::ElideRight, std::max(0, R.Width()));
    }
    const int lh = lay.fm.height();
    const int total = int(lines.size()) * lh;
    if (Format & DT_CALCRECT) {
        int maxw = 0;
        for (const QString &l : lines)
            maxw = std::max(maxw, lay.width(l));
        R.Right = R.Left + maxw;
        R.Bottom = R.Top + total;
        return total;
    }

    p = ready();
    applyFont(p);
    p->save();
    if (!(Format & DT_NOCLIP))
        p->setClipRect(qrect(R), Qt::IntersectClip);
    int y = R.Top;
    if (Format & DT_SINGLELINE) {
        if (Format & DT_VCENTER)
            y = R.Top + (R.Height() - lh) / 2;
        else if (Format & DT_BOTTOM)
            y = R.Bottom - lh;
    }
    for (const QString &l : lines) {
        // An edit control leaves out a last line that would only partly show.
        if ((Format & DT_EDITCONTROL) && y > R.Top && y + lh > R.Bottom)
            break;
        // Measuring shapes the text again; a left-aligned line on a clear background needs no width.
        const bool measure = (Format & (DT_CENTER | DT_RIGHT)) || brush_->Style() != bsClear;
        const int w = measure ? lay.width(l) : 0;
        int x = R.Left;
        if (Format & DT_CENTER)
            x = R.Left + (R.Width() - w) / 2;
        else if (Format & DT_RIGHT)
            x = R.Right - w;
        fillTextBackground(p, QRect(x, y, w, lh));
        if (lay.expandTabs && l.contains(QLatin1Char('\t'))) {
            int cx = x;
            const QStringList parts = l.split(QLatin1Char('\t'));
            for (qsizetype i = 0; i < parts.size(); ++i) {
                if (i > 0)
                    cx = x + ((cx - x) / lay.tabWidth() + 1) * lay.tabWidth();
                drawTextRaw(p, cx, y, parts[i]);
                cx += lay.fm.horizontalAdvance(parts[i]);
            }
        } else {
            drawTextRaw(p, x, y, l);
        }
        y += lh;
    }
    p->restore();
    if (Format & DT_SINGLELINE) {
        if (Format & DT_VCENTER)
            return (R.Height() - lh) / 2 + lh;
        if (Format & DT_BOTTOM)
            return R.Height();
    }
    return total;
}

// ---------------------------------------------------------------------------------------------
// Pictures and pixels

void TCanvas::Draw(int X, int Y, TGraphic *Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect &R, TGraphic *Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    Graphic->Draw(this, R);
}

namespace {
QImage *imageOf(QPainter *p)
{
    if (p && p->isActive() && p->device() && p->device()->devType() == QInternal::Image)
        return static_cast<QImage *>(p->device());
    return nullptr;
}
} // namespace

void TCanvas::CopyRect(const TRect &Dest, TCanvas *Canvas, const TRect &Source)
{
    QPainter *p = ready();
    if (!Canvas)
        return;
    QImage *src = Canvas->TargetImage();
    if (!src)
        src = imageOf(Canvas->Painter());
    if (!src)
        throw EInvalidGraphicOperation(QStringLiteral("Cannot copy from a canvas without pixels"));
    QImage part = src->copy(qrect(Source));
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(qrect(Dest), part);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

TColor TCanvas::Pixels(int X, int Y)
{
    QImage *img = TargetImage();
    if (!img)
        img = imageOf(Painter());
    if (!img || !img->valid(X, Y))
        return TColor(-1);
    QPainter *p = Painter();
    if (p && p->isActive()) {
        QPoint d = p->transform().map(QPoint(X, Y));
        if (!img->valid(d))
            return TColor(-1);
        return QColorToColor(img->pixelColor(d));
    }
    return QColorToColor(img->pixelColor(X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Color)
{
    QPainter *p = ready();
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->setPen(QPen(ColorToQColor(Color), 1));
    p->drawPoint(X, Y);
    p->restore();
}

// ---------------------------------------------------------------------------------------------
// Clipping and state

TSize TCanvas::DeviceSize()
{
    QPainter *p = Painter();
    if (!p || !p->isActive() || !p->device())
        return TSize{};
    return TSize{p->device()->width(), p->device()->height()};
}

int TCanvas::PixelsPerInchX()
{
    QPainter *p = Painter();
    return p && p->isActive() && p->device() ? p->device()->logicalDpiX() : 96;
}

int TCanvas::PixelsPerInchY()
{
    QPainter *p = Painter();
    return p && p->isActive() && p->device() ? p->device()->logicalDpiY() : 96;
}

TRect TCanvas::ClipRect()
{
    QPainter *p = Painter();
    if (!p || !p->isActive())
        return TRect();
    QRect r;
    if (p->hasClipping()) {
        r = p->clipBoundingRect().toAlignedRect();
    } else {
        TSize s = DeviceSize();
        r = p->transform().inverted().mapRect(QRect(0, 0, s.cx, s.cy));
    }
    return TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void TCanvas::SetClipRect(const TRect &R) { ready()->setClipRect(qrect(R), Qt::ReplaceClip); }

void TCanvas::IntersectClipRect(const TRect &R)
{
    QPainter *p = ready();
    p->setClipRect(qrect(R), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TCanvas::ExcludeClipRect(const TRect &R)
{
    QPainter *p = ready();
    TRect all = ClipRect();
    QRegion base = p->hasClipping() ? p->clipRegion() : QRegion(qrect(all));
    p->setClipRegion(base.subtracted(QRegion(qrect(R))), Qt::ReplaceClip);
}

void TCanvas::ResetClip() { ready()->setClipping(false); }

bool TCanvas::Clipping()
{
    QPainter *p = Painter();
    return p && p->isActive() && p->hasClipping();
}

void TCanvas::SaveState()
{
    ready()->save();
    ++saveDepth_;
}

void TCanvas::RestoreState()
{
    if (saveDepth_ <= 0)
        return;
    --saveDepth_;
    if (QPainter *p = Painter())
        p->restore();
}
