#include "framework/graphics/Graphics.h"
#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QRegion>
#include <QTextLayout>
#include <cmath>

// ---------------------------------------------------------------------------------------------
// Colours

namespace {

// The classic desktop scheme, used where the palette has no matching role.
constexpr TColorRef kClassic[31] = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219),
    RGB(240, 240, 240), RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(180, 180, 180), RGB(244, 247, 252),
    RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255), RGB(240, 240, 240),
    RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234),
    RGB(215, 228, 242), RGB(0, 120, 215),   RGB(240, 240, 240),
};

TColorRef fromQColor(const QColor &c) { return RGB(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())); }

bool paletteRole(int index, QPalette::ColorGroup &group, QPalette::ColorRole &role)
{
    group = QPalette::Active;
    switch (index) {
    case 4: role = QPalette::Window; return true;          // menu
    case 5: role = QPalette::Base; return true;            // window
    case 7: role = QPalette::WindowText; return true;      // menu text
    case 8: role = QPalette::Text; return true;            // window text
    case 13: role = QPalette::Highlight; return true;
    case 14: role = QPalette::HighlightedText; return true;
    case 15: role = QPalette::Button; return true;          // button face
    case 16: role = QPalette::Mid; return true;             // button shadow
    case 17: group = QPalette::Disabled; role = QPalette::Text; return true;
    case 18: role = QPalette::ButtonText; return true;
    case 20: role = QPalette::Light; return true;           // button highlight
    case 21: role = QPalette::Shadow; return true;
    case 22: role = QPalette::Midlight; return true;
    case 23: role = QPalette::ToolTipText; return true;
    case 24: role = QPalette::ToolTipBase; return true;
    case 26: role = QPalette::Link; return true;
    default: return false;
    }
}

const struct { TColor color; const char *name; } kColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"}, {clNone, "clNone"},
    {clDefault, "clDefault"},
};

} // namespace

TColorRef GetSysColor(int Index)
{
    if (Index < 0 || Index > 30)
        return 0;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) && paletteRole(Index, group, role))
        return fromQColor(QGuiApplication::palette().color(group, role));
    return kClassic[Index];
}

TColorRef ColorToRGB(TColor Color)
{
    if (Color < 0)
        return GetSysColor(Color & 0xFF);
    return TColorRef(Color);
}

QColor ColorToQColor(TColor Color)
{
    TColorRef c = ColorToRGB(Color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor QColorToColor(const QColor &c) { return TColor(fromQColor(c)); }

TColor StringToColor(const QString &S)
{
    QString t = S.trimmed();
    for (const auto &n : kColorNames)
        if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return n.color;
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok, 10);
    if (!ok || v < INT32_MIN || v > UINT32_MAX)
        throw EConvertError(QStringLiteral("'%1' is not a valid colour value").arg(S));
    return TColor(uint32_t(v));
}

QString ColorToString(TColor Color)
{
    for (const auto &n : kColorNames)
        if (n.color == Color)
            return QLatin1String(n.name);
    return QStringLiteral("$%1").arg(uint32_t(Color), 8, 16, QLatin1Char('0')).toUpper();
}

// ---------------------------------------------------------------------------------------------
// Graphics objects

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

TFont::TFont() : name_(QStringLiteral("Tahoma")), height_(-11), color_(clWindowText) {}

void TFont::Assign(TPersistent *Source)
{
    if (auto *f = dynamic_cast<TFont *>(Source)) {
        name_ = f->name_;
        // The size carries over in points, so a font copied to a printer keeps its size.
        height_ = -((f->Size() * ppi_ + 36) / 72);
        style_ = f->style_;
        color_ = f->color_;
        charset_ = f->charset_;
        pitch_ = f->pitch_;
        orientation_ = f->orientation_;
        qtFontChanged();
        return;
    }
    TPersistent::Assign(Source);
}

void TFont::qtFontChanged()
{
    qfont_.reset();
    Changed();
}

void TFont::SetName(const QString &v) { if (v != name_ && !v.isEmpty()) { name_ = v; qtFontChanged(); } }

int TFont::Size() const
{
    // Height = -MulDiv(Size, PPI, 72) and back, rounding like MulDiv.
    int h = -height_;
    int s = (h * 72 + ppi_ / 2) / ppi_;
    return height_ < 0 ? s : -((height_ * 72 + ppi_ / 2) / ppi_);
}

void TFont::SetSize(int v) { SetHeight(-((v * ppi_ + (v >= 0 ? 36 : -36)) / 72)); }
void TFont::SetHeight(int v) { if (v != height_) { height_ = v; qtFontChanged(); } }
void TFont::SetStyle(const TFontStyles &v) { if (v != style_) { style_ = v; qtFontChanged(); } }
void TFont::SetColor(TColor v) { if (v != color_) { color_ = v; Changed(); } }
void TFont::SetCharset(TFontCharset v) { if (v != charset_) { charset_ = v; Changed(); } }
void TFont::SetPitch(TFontPitch v) { if (v != pitch_) { pitch_ = v; qtFontChanged(); } }
void TFont::SetOrientation(int v) { if (v != orientation_) { orientation_ = v; Changed(); } }

void TFont::SetPixelsPerInch(int v)
{
    if (v <= 0 || v == ppi_)
        return;
    int size = Size();
    ppi_ = v;
    height_ = -((size * ppi_ + 36) / 72);
    qtFontChanged();
}

QFont TFont::ToQFont() const
{
    if (qfont_)
        return *qfont_;
    QFont f(name_);
    // A positive height includes the internal leading, about a fifth of the cell.
    int px = height_ < 0 ? -height_ : (height_ * 4 + 2) / 5;
    f.setPixelSize(std::max(1, px));
    f.setBold(style_.Contains(fsBold));
    f.setItalic(style_.Contains(fsItalic));
    f.setUnderline(style_.Contains(fsUnderline));
    f.setStrikeOut(style_.Contains(fsStrikeOut));
    if (pitch_ == fpFixed)
        f.setFixedPitch(true), f.setStyleHint(QFont::Monospace);
    qfont_ = f;
    return f;
}

void TPen::Assign(TPersistent *Source)
{
    if (auto *p = dynamic_cast<TPen *>(Source)) {
        color_ = p->color_; width_ = p->width_; style_ = p->style_; mode_ = p->mode_;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TPen::SetColor(TColor v) { if (v != color_) { color_ = v; Changed(); } }
void TPen::SetWidth(int v) { if (v >= 0 && v != width_) { width_ = v; Changed(); } }
void TPen::SetStyle(TPenStyle v) { if (v != style_) { style_ = v; Changed(); } }
void TPen::SetMode(TPenMode v) { if (v != mode_) { mode_ = v; Changed(); } }

void TBrush::Assign(TPersistent *Source)
{
    if (auto *b = dynamic_cast<TBrush *>(Source)) {
        color_ = b->color_; style_ = b->style_;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TBrush::SetColor(TColor v)
{
    color_ = v;
    if (v == clNone)
        style_ = bsClear;
    else if (style_ == bsClear)
        style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle v) { if (v != style_) { style_ = v; Changed(); } }
