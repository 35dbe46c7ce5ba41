#pragma once
// Colours, fonts, pens, brushes, the canvas and the picture classes.
#include "framework/rtl/Classes.h"
#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QFont;
class QColor;
class QPaintDevice;

// State of a check box: shared by the themed drawing and the check box controls.
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// ---------------------------------------------------------------------------------------------
// Colours: 0x00BBGGRR is an RGB colour, 0xFF0000nn the system colour nn.

using TColor = int32_t;
using TColorRef = uint32_t;

constexpr TColor clSystemColor = TColor(0xFF000000);

constexpr TColor clScrollBar = TColor(0xFF000000);
constexpr TColor clBackground = TColor(0xFF000001);
constexpr TColor clActiveCaption = TColor(0xFF000002);
constexpr TColor clInactiveCaption = TColor(0xFF000003);
constexpr TColor clMenu = TColor(0xFF000004);
constexpr TColor clWindow = TColor(0xFF000005);
constexpr TColor clWindowFrame = TColor(0xFF000006);
constexpr TColor clMenuText = TColor(0xFF000007);
constexpr TColor clWindowText = TColor(0xFF000008);
constexpr TColor clCaptionText = TColor(0xFF000009);
constexpr TColor clActiveBorder = TColor(0xFF00000A);
constexpr TColor clInactiveBorder = TColor(0xFF00000B);
constexpr TColor clAppWorkSpace = TColor(0xFF00000C);
constexpr TColor clHighlight = TColor(0xFF00000D);
constexpr TColor clHighlightText = TColor(0xFF00000E);
constexpr TColor clBtnFace = TColor(0xFF00000F);
constexpr TColor clBtnShadow = TColor(0xFF000010);
constexpr TColor clGrayText = TColor(0xFF000011);
constexpr TColor clBtnText = TColor(0xFF000012);
constexpr TColor clInactiveCaptionText = TColor(0xFF000013);
constexpr TColor clBtnHighlight = TColor(0xFF000014);
constexpr TColor cl3DDkShadow = TColor(0xFF000015);
constexpr TColor cl3DLight = TColor(0xFF000016);
constexpr TColor clInfoText = TColor(0xFF000017);
constexpr TColor clInfoBk = TColor(0xFF000018);
constexpr TColor clHotLight = TColor(0xFF00001A);
constexpr TColor clGradientActiveCaption = TColor(0xFF00001B);
constexpr TColor clGradientInactiveCaption = TColor(0xFF00001C);
constexpr TColor clMenuHighlight = TColor(0xFF00001D);
constexpr TColor clMenuBar = TColor(0xFF00001E);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColorRef RGB(uint8_t r, uint8_t g, uint8_t b)
{
    return TColorRef(r) | (TColorRef(g) << 8) | (TColorRef(b) << 16);
}
constexpr uint8_t GetRValue(TColorRef c) { return uint8_t(c & 0xFF); }
constexpr uint8_t GetGValue(TColorRef c) { return uint8_t((c >> 8) & 0xFF); }
constexpr uint8_t GetBValue(TColorRef c) { return uint8_t((c >> 16) & 0xFF); }

// The RGB value of a system colour number (0..30), from the application palette where it has
// a matching role and the classic desktop scheme otherwise.
TColorRef GetSysColor(int Index);
// System colours become their current RGB value; every other value is returned unchanged.
TColorRef ColorToRGB(TColor Color);
// Opaque QColor of a colour (system colours resolved; the flag bits above RGB ignored).
QColor ColorToQColor(TColor Color);
TColor QColorToColor(const QColor &c);
// "clRed", "$00FF00FF" or a decimal number; raises EConvertError otherwise.
TColor StringToColor(const QString &S);
QString ColorToString(TColor Color);

// ---------------------------------------------------------------------------------------------
// Graphics objects

class TGraphicsObject : public TPersistent
{
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset OEM_CHARSET = 255;

class TFont : public TGraphicsObject
{
public:
    TFont();
    void Assign(TPersistent *Source) override;

    const QString &Name() const { return name_; }
    void SetName(const QString &v);
    // Points; Size and Height are two views of one value (Height = -Size * PixelsPerInch / 72).
    int Size() const;
    void SetSize(int v);
    int Height() const { return height_; }
    void SetHeight(int v);
    TFontStyles Style() const { return style_; }
    void SetStyle(const TFontStyles &v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset v);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch v);
    int PixelsPerInch() const { return ppi_; }
    // Keeps Size; Height follows the new resolution (a printer canvas uses the printer's).
    void SetPixelsPerInch(int v);
    // Tenths of a degree, counter-clockwise, for rotated text.
    int Orientation() const { return orientation_; }
    void SetOrientation(int v);

    // The Qt font for painting: pixel size from Height.
    QFont ToQFont() const;

private:
    // Every text call asks for the Qt font; it is built once per change of what it holds.
    void qtFontChanged();
    mutable std::optional<QFont> qfont_;
    QString name_;
    int height_;
    TFontStyles style_;
    TColor color_;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    int ppi_ = 96;
    int orientation_ = 0;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The Qt line style of a pen style (psClear and psInsideFrame draw solid; callers test psClear).
Qt::PenStyle PenStyleToQt(TPenStyle Style);
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject
{
public:
    void Assign(TPersistent *Source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    int Width() const { return width_; }
    void SetWidth(int v);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle v);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode v);

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject
{
public:
    void Assign(TPersistent *Source) override;
    TColor Color() const { return color_; }
    // clNone makes the brush clear; a real colour makes a clear brush solid again.
    void SetColor(TColor v);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle v);

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

// ---------------------------------------------------------------------------------------------
// DrawText flags

constexpr uint32_t DT_TOP = 0x0;
constexpr uint32_t DT_LEFT = 0x0;
constexpr uint32_t DT_CENTER = 0x1;
constexpr uint32_t DT_RIGHT = 0x2;
constexpr uint32_t DT_VCENTER = 0x4;
constexpr uint32_t DT_BOTTOM = 0x8;
constexpr uint32_t DT_WORDBREAK = 0x10;
constexpr uint32_t DT_SINGLELINE = 0x20;
constexpr uint32_t DT_EXPANDTABS = 0x40;
constexpr uint32_t DT_TABSTOP = 0x80;
constexpr uint32_t DT_NOCLIP = 0x100;
constexpr uint32_t DT_EXTERNALLEADING = 0x200;
constexpr uint32_t DT_CALCRECT = 0x400;
constexpr uint32_t DT_NOPREFIX = 0x800;
constexpr uint32_t DT_INTERNAL = 0x1000;
constexpr uint32_t DT_EDITCONTROL = 0x2000;
constexpr uint32_t DT_PATH_ELLIPSIS = 0x4000;
constexpr uint32_t DT_END_ELLIPSIS = 0x8000;
constexpr uint32_t DT_MODIFYSTRING = 0x10000;
constexpr uint32_t DT_RTLREADING = 0x20000;
constexpr uint32_t DT_WORD_ELLIPSIS = 0x40000;
constexpr uint32_t DT_NOFULLWIDTHCHARBREAK = 0x80000;
constexpr uint32_t DT_HIDEPREFIX = 0x100000;
constexpr uint32_t DT_PREFIXONLY = 0x200000;

// DrawEdge edges and flags
constexpr uint32_t BDR_RAISEDOUTER = 0x1;
constexpr uint32_t BDR_SUNKENOUTER = 0x2;
constexpr uint32_t BDR_RAISEDINNER = 0x4;
constexpr uint32_t BDR_SUNKENINNER = 0x8;
constexpr uint32_t EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr uint32_t EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr uint32_t EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr uint32_t EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr uint32_t BF_LEFT = 0x1;
constexpr uint32_t BF_TOP = 0x2;
constexpr uint32_t BF_RIGHT = 0x4;
constexpr uint32_t BF_BOTTOM = 0x8;
constexpr uint32_t BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr uint32_t BF_MIDDLE = 0x800;
constexpr uint32_t BF_FLAT = 0x4000;
constexpr uint32_t BF_ADJUST = 0x2000;

// ---------------------------------------------------------------------------------------------
// Canvas

class TGraphic;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
enum TFillStyle { fsSurface, fsBorder };

// Drawing surface with the original platform's conventions: rectangles exclude their right and
// bottom edges, LineTo leaves out its end point, TextOut places the top-left corner of the
// text, and text is drawn on the brush colour unless the brush is clear.
// A canvas paints through a QPainter that is either its own (bitmaps, printer) or attached
// from outside for the duration of a paint event.
class TCanvas : public TPersistent
{
public:
    TCanvas();
    ~TCanvas() override;

    TFont *Font() const { return font_.get(); }
    void SetFont(TFont *v) { font_->Assign(v); }
    TPen *Pen() const { return pen_.get(); }
    void SetPen(TPen *v) { pen_->Assign(v); }
    TBrush *Brush() const { return brush_.get(); }
    void SetBrush(TBrush *v) { brush_->Assign(v); }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(const TPoint &p) { penPos_ = p; }

    // Paints through an outside painter (for example one made in a widget's paint event)
    // until DetachPainter. The painter's state is saved on attach and restored on detach.
    void AttachPainter(QPainter *painter);
    void DetachPainter();
    // The painter in use, creating the canvas's own one when needed; nullptr when the canvas
    // has nothing to paint on.
    QPainter *Painter();
    bool HandleAllocated() const;
    // A number that is non-zero while the canvas can paint.
    intptr_t Handle();
    void Lock() {}
    void Unlock() {}
    void Refresh() {}

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const std::vector<TPoint> &Points);
    void Polygon(const std::vector<TPoint> &Points);
    void FillRect(const TRect &R);
    void FrameRect(const TRect &R);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect &R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect &R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    // Elliptic arc of the bounding box (X1,Y1)-(X2,Y2), counter-clockwise from the ray
    // towards (X3,Y3) to the ray towards (X4,Y4).
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void DrawFocusRect(const TRect &R);
    // Raised and sunken 3D edges; with BF_ADJUST, R shrinks by the drawn edges.
    void DrawEdge(TRect &R, uint32_t Edge, uint32_t Flags);

    void TextOut(int X, int Y, const QString &Text);
    void TextRect(const TRect &R, int X, int Y, const QString &Text);
    int TextWidth(const QString &Text);
    int TextHeight(const QString &Text);
    TSize TextExtent(const QString &Text);
    // Formatted text in R; returns the height of the text. DT_CALCRECT only measures and
    // widens or heightens R to fit the text.
    int DrawText(const QString &Text, TRect &R, uint32_t Format);

    void Draw(int X, int Y, TGraphic *Graphic);
    void StretchDraw(const TRect &R, TGraphic *Graphic);
    void CopyRect(const TRect &Dest, TCanvas *Canvas, const TRect &Source);

    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Color);

    // Clipping: the bounding rectangle of the clip region (the whole surface when unclipped).
    TRect ClipRect();
    void SetClipRect(const TRect &R);
    void IntersectClipRect(const TRect &R);
    void ExcludeClipRect(const TRect &R);
    void ResetClip();
    bool Clipping();
    // Nested save and restore of the painter state (clip, transform).
    void SaveState();
    void RestoreState();

    // Size of the surface in device pixels, and its resolution.
    TSize DeviceSize();
    int PixelsPerInchX();
    int PixelsPerInchY();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Subclasses that own their surface begin a painter on it here.
    virtual QPainter *CreatePainter() { return nullptr; }
    // Ends the canvas's own painter; the next drawing begins a new one.
    void FreeHandle();
    virtual QImage *TargetImage() { return nullptr; }
    friend class TBitmap;

private:
    QPainter *ready();
    void applyPen(QPainter *p);
    void applyBrush(QPainter *p);
    void applyFont(QPainter *p);
    void fillTextBackground(QPainter *p, const QRect &r);
    void drawTextRaw(QPainter *p, int X, int Y, const QString &Text);

    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    TPoint penPos_;
    QPainter *external_ = nullptr;
    std::unique_ptr<QPainter> own_;
    int saveDepth_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Pictures

class TGraphic : public TPersistent
{
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int v) = 0;
    virtual void SetHeight(int v) = 0;
    virtual bool Empty() const = 0;
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool v);
    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }

    // Raises EInvalidGraphic with a clear message when the data is not a valid picture.
    virtual void LoadFromData(const QByteArray &Data) = 0;
    virtual QByteArray SaveToData() const = 0;
    void LoadFromFile(const QString &FileName);
    void SaveToFile(const QString &FileName) const;

    // The picture as a 32-bit image (empty for an empty graphic).
    virtual QImage ToImage() const = 0;
    virtual void Draw(TCanvas *ACanvas, const TRect &R);

    TNotifyEvent OnChange;

protected:
    void Changed();
    bool transparent_ = false;
    bool modified_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic
{
public:
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    ~TBitmap() override;
    void Assign(TPersistent *Source) override;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void SetWidth(int v) override { SetSize(v, Height()); }
    void SetHeight(int v) override { SetSize(Width(), v); }
    void SetSize(int AWidth, int AHeight);
    bool Empty() const override { return image_.isNull(); }
    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat v);
    // Row Y of the pixels: 3 bytes B, G, R per pixel for pf24bit, 4 bytes B, G, R, A for pf32bit.
    uint8_t *ScanLine(int Y);
    TCanvas *Canvas();

    // The colour treated as transparent: fixed, or the bottom-left pixel with tmAuto.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor v);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode v) { transparentMode_ = v; }

    void LoadFromData(const QByteArray &Data) override;
    QByteArray SaveToData() const override;
    QImage ToImage() const override;
    void Draw(TCanvas *ACanvas, const TRect &R) override;
    // Replaces the pixels (converted to the bitmap's format).
    void SetImage(const QImage &img);
    // The pixels; drawing through the canvas is flushed first.
    const QImage &Image();

private:
    class TBitmapCanvas;
    QImage::Format qtFormat() const;
    void endPaint();

    QImage image_;
    TPixelFormat format_ = pf24bit;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    std::unique_ptr<TBitmapCanvas> canvas_;
};

// An icon picture: read from .ico (and PNG) data, drawn with its transparency.
class TIcon : public TGraphic
{
public:
    void Assign(TPersistent *Source) override;
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void SetWidth(int v) override;
    void SetHeight(int v) override;
    bool Empty() const override { return image_.isNull(); }
    void LoadFromData(const QByteArray &Data) override;
    QByteArray SaveToData() const override;
    QImage ToImage() const override { return image_; }
    void SetImage(const QImage &img);

private:
    QImage image_;
};

// Holds one graphic of whichever class fits the file.
class TPicture : public TPersistent
{
public:
    TPicture();
    ~TPicture() override;
    void Assign(TPersistent *Source) override;

    TGraphic *Graphic() const { return graphic_.get(); }
    // Copies Value into a new graphic of the same class; nullptr empties the picture.
    void SetGraphic(TGraphic *Value);
    // The graphic as a bitmap; a different graphic is replaced by an empty bitmap.
    TBitmap *Bitmap();
    void SetBitmap(TBitmap *Value) { SetGraphic(Value); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Picks the class by extension, then by content; metafiles and unknown data raise
    // EInvalidGraphic.
    void LoadFromFile(const QString &FileName);
    void SaveToFile(const QString &FileName) const;
    // Picks the class by content.
    void LoadFromData(const QByteArray &Data);

    TNotifyEvent OnChange;

private:
    void changed();
    std::unique_ptr<TGraphic> graphic_;
};

// Reads a picture of whichever class its content shows (BMP, JPEG, icon; PNG and GIF become
// bitmaps). Metafiles and unknown data raise EInvalidGraphic.
std::unique_ptr<TGraphic> LoadGraphicFromData(const QByteArray &Data);
// Reads a whole file; raises EFOpenError when it cannot be read.
QByteArray ReadGraphicFile(const QString &FileName);
