#include "framework/graphics/Graphics.h"
#include "framework/graphics/Jpeg.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

// ---------------------------------------------------------------------------------------------
// TGraphic

void TGraphic::SetTransparent(bool v)
{
    if (v != transparent_) {
        transparent_ = v;
        Changed();
    }
}

void TGraphic::Changed()
{
    modified_ = true;
    if (OnChange)
        OnChange(this);
}

QByteArray ReadGraphicFile(const QString &FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(FileName), f.errorString()));
    return f.readAll();
}

void TGraphic::LoadFromFile(const QString &FileName) { LoadFromData(ReadGraphicFile(FileName)); }

void TGraphic::SaveToFile(const QString &FileName) const
{
    QByteArray data = SaveToData();
    QFile f(FileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(FileName), f.errorString()));
}

void TGraphic::Draw(TCanvas *ACanvas, const TRect &R)
{
    QPainter *p = ACanvas ? ACanvas->Painter() : nullptr;
    if (!p || !p->isActive() || Empty())
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QRect(R.Left, R.Top, R.Width(), R.Height()), ToImage());
}

// ---------------------------------------------------------------------------------------------
// TBitmap

class TBitmap::TBitmapCanvas : public TCanvas
{
public:
    explicit TBitmapCanvas(TBitmap *owner) : owner_(owner) {}
    void release() { FreeHandle(); }

protected:
    QPainter *CreatePainter() override
    {
        if (owner_->image_.isNull())
            return nullptr;
        return new QPainter(&owner_->image_);
    }
    QImage *TargetImage() override { return &owner_->image_; }

private:
    TBitmap *owner_;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() { endPaint(); }

void TBitmap::endPaint()
{
    if (canvas_)
        canvas_->release();
}

QImage::Format TBitmap::qtFormat() const
{
    switch (format_) {
    case pf32bit: return QImage::Format_ARGB32;
    case pfDevice: return QImage::Format_RGB32;
    default: return QImage::Format_BGR888;
    }
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (AWidth == Width() && AHeight == Height())
        return;
    endPaint();
    if (AWidth == 0 || AHeight == 0) {
        image_ = QImage();
    } else {
        // The part that was there stays; new area starts white.
        QImage img(AWidth, AHeight, qtFormat());
        if (img.isNull())
            throw EOutOfMemory(QStringLiteral("Not enough memory for a %1 x %2 bitmap").arg(AWidth).arg(AHeight));
        img.fill(format_ == pf32bit ? QColor(255, 255, 255, 0) : QColor(Qt::white));
        if (!image_.isNull()) {
            QPainter p(&img);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, image_);
        }
        image_ = img;
    }
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat v)
{
    if (v == format_)
        return;
    endPaint();
    format_ = v;
    if (!image_.isNull())
        image_ = image_.convertToFormat(qtFormat());
    Changed();
}

uint8_t *TBitmap::ScanLine(int Y)
{
    if (Y < 0 || Y >= Height())
        throw EInvalidGraphicOperation(QStringLiteral("Scan line index out of range"));
    endPaint();
    return image_.scanLine(Y);
}

TCanvas *TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(this);
    return canvas_.get();
}

TColor TBitmap::TransparentColor() const
{
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault)
        return transparentColor_;
    if (image_.isNull())
        return clDefault;
    return QColorToColor(image_.pixelColor(0, image_.height() - 1));
}

void TBitmap::SetTransparentColor(TColor v)
{
    transparentColor_ = v;
    transparentMode_ = v == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::Assign(TPersistent *Source)
{
    if (!Source) {
        endPaint();
        image_ = QImage();
        Changed();
        return;
    }
    if (auto *b = dynamic_cast<TBitmap *>(Source)) {
        if (b == this)
            return;
        endPaint();
        b->endPaint();
        image_ = b->image_;
        format_ = b->format_;
        transparent_ = b->transparent_;
        transparentColor_ = b->transparentColor_;
        transparentMode_ = b->transparentMode_;
        Changed();
        return;
    }
    if (auto *g = dynamic_cast<TGraphic *>(Source)) {
        SetImage(g->ToImage());
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::SetImage(const QImage &img)
{
    endPaint();
    if (img.isNull()) {
        image_ = QImage();
    } else {
        if (img.hasAlphaChannel())
            format_ = pf32bit;
        image_ = img.convertToFormat(qtFormat());
    }
    Changed();
}

const QImage &TBitmap::Image()
{
    endPaint();
    return image_;
}

void TBitmap::LoadFromData(const QByteArray &Data)
{
    if (Data.isEmpty()) {
        Assign(nullptr);
        return;
    }
    if (!Data.startsWith("BM"))
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid: the data does not start with a bitmap header"));
    QImage img;
    if (!img.loadFromData(Data, "BMP") || img.isNull())
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid: the bitmap data is damaged or incomplete"));
    endPaint();
    format_ = img.hasAlphaChannel() ? pf32bit : pf24bit;
    image_ = img.convertToFormat(qtFormat());
    Changed();
}

QByteArray TBitmap::SaveToData() const
{
    if (image_.isNull())
        return QByteArray();
    const_cast<TBitmap *>(this)->endPaint();
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, "BMP");
    if (!w.write(image_))
        throw EInvalidGraphicOperation(QStringLiteral("Bitmap could not be written: %1").arg(w.errorString()));
    return out;
}

QImage TBitmap::ToImage() const
{
    if (image_.isNull())
        return QImage();
    const_cast<TBitmap *>(this)->endPaint();
    return image_.convertToFormat(QImage::Format_ARGB32);
}

void TBitmap::Draw(TCanvas *ACanvas, const TRect &R)
{
    QPainter *p = ACanvas ? ACanvas->Painter() : nullptr;
    if (!p || !p->isActive() || Empty())
        return;
    if (ACanvas == canvas_.get())
        throw EInvalidGraphicOperation(QStringLiteral("A bitmap cannot be drawn on its own canvas"));
    QImage img = ToImage();
    if (transparent_) {
        QRgb key = ColorToQColor(TransparentColor()).rgb();
        QImage mask = img.createMaskFromColor(key, Qt::MaskOutColor);
        img.setAlphaChannel(mask);
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QRect(R.Left, R.Top, R.Width(), R.Height()), img);
}

// ---------------------------------------------------------------------------------------------
// TIcon

void TIcon::Assign(TPersistent *Source)
{
    if (!Source) {
        image_ = QImage();
        Changed();
        return;
    }
    if (auto *g = dynamic_cast<TGraphic *>(Source)) {
        SetImage(g->ToImage());
        transparent_ = true;
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of an icon")); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of an icon")); }

void TIcon::SetImage(const QImage &img)
{
    image_ = img.isNull() ? QImage() : img.convertToFormat(QImage::Format_ARGB32);
    Changed();
}

void TIcon::LoadFromData(const QByteArray &Data)
{
    QImage img;
    const bool ico = Data.size() >= 6 && Data.startsWith(QByteArray("\0\0\1\0", 4));
    if (!ico || !img.loadFromData(Data, "ICO") || img.isNull())
        throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
    SetImage(img);
    transparent_ = true;
}

QByteArray TIcon::SaveToData() const
{
    if (image_.isNull())
        return QByteArray();
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, "ICO");
    if (!w.write(image_))
        throw EInvalidGraphicOperation(QStringLiteral("Icon could not be written: %1").arg(w.errorString()));
    return out;
}

// ---------------------------------------------------------------------------------------------
// Reading pictures by content

namespace {

bool isMetafile(const QByteArray &d)
{
    auto u = [&](int i) { return i < d.size() ? uint8_t(d[i]) : 0; };
    if (d.startsWith(QByteArray("\xD7\xCD\xC6\x9A", 4)))
        return true; // placeable metafile
    if ((u(0) == 1 || u(0) == 2) && u(1) == 0 && u(2) == 9 && u(3) == 0)
        return true; // plain metafile header
    return d.size() >= 44 && u(0) == 1 && u(1) == 0 && u(2) == 0 && u(3) == 0 && d.mid(40, 4) == " EMF";
}

[[noreturn]] void metafileError()
{
    throw EInvalidGraphic(QStringLiteral("Metafiles are not supported"));
}

} // namespace

std::unique_ptr<TGraphic> LoadGraphicFromData(const QByteArray &Data)
{
    std::unique_ptr<TGraphic> g;
    if (Data.startsWith("BM"))
        g = std::make_unique<TBitmap>();
    else if (Data.startsWith(QByteArray("\xFF\xD8\xFF", 3)))
        g = std::make_unique<TJPEGImage>();
    else if (Data.startsWith(QByteArray("\0\0\1\0", 4)))
        g = std::make_unique<TIcon>();
    else if (isMetafile(Data))
        metafileError();
    if (g) {
        g->LoadFromData(Data);
        return g;
    }
    if (Data.startsWith("\x89PNG") || Data.startsWith("GIF8")) {
        QImage img;
        if (!img.loadFromData(Data) || img.isNull())
            throw EInvalidGraphic(QStringLiteral("Picture is not valid: the image data is damaged or incomplete"));
        auto b = std::make_unique<TBitmap>();
        b->SetImage(img);
        return b;
    }
    if (Data.isEmpty())
        throw EInvalidGraphic(QStringLiteral("Picture is not valid: the data is empty"));
    throw EInvalidGraphic(QStringLiteral("Picture is not valid: unknown picture format"));
}

// ---------------------------------------------------------------------------------------------
// TPicture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Assign(TPersistent *Source)
{
    if (!Source) {
        SetGraphic(nullptr);
        return;
    }
    if (auto *p = dynamic_cast<TPicture *>(Source)) {
        SetGraphic(p->Graphic());
        return;
    }
    if (auto *g = dynamic_cast<TGraphic *>(Source)) {
        SetGraphic(g);
        return;
    }
    TPersistent::Assign(Source);
}

void TPicture::SetGraphic(TGraphic *Value)
{
    std::unique_ptr<TGraphic> g;
    if (Value) {
        if (dynamic_cast<TJPEGImage *>(Value))
            g = std::make_unique<TJPEGImage>();
        else if (dynamic_cast<TIcon *>(Value))
            g = std::make_unique<TIcon>();
        else
            g = std::make_unique<TBitmap>();
        g->Assign(Value);
        g->SetTransparent(Value->Transparent());
    }
    graphic_ = std::move(g);
    changed();
}

TBitmap *TPicture::Bitmap()
{
    auto *b = dynamic_cast<TBitmap *>(graphic_.get());
    if (!b) {
        graphic_ = std::make_unique<TBitmap>();
        b = static_cast<TBitmap *>(graphic_.get());
        changed();
    }
    return b;
}

void TPicture::LoadFromFile(const QString &FileName)
{
    const QString ext = QFileInfo(FileName).suffix().toLower();
    if (ext == QLatin1String("wmf") || ext == QLatin1String("emf"))
        metafileError();
    QByteArray data = ReadGraphicFile(FileName);
    std::unique_ptr<TGraphic> g;
    if (ext == QLatin1String("bmp") || ext == QLatin1String("dib"))
        g = std::make_unique<TBitmap>();
    else if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("jpe") || ext == QLatin1String("jfif"))
        g = std::make_unique<TJPEGImage>();
    else if (ext == QLatin1String("ico"))
        g = std::make_unique<TIcon>();
    if (g) {
        if (data.isEmpty())
            throw EInvalidGraphic(QStringLiteral("Picture file \"%1\" is empty").arg(QDir::toNativeSeparators(FileName)));
        g->LoadFromData(data);
    } else {
        g = LoadGraphicFromData(data);
    }
    graphic_ = std::move(g);
    changed();
}

void TPicture::SaveToFile(const QString &FileName) const
{
    if (graphic_)
        graphic_->SaveToFile(FileName);
}

void TPicture::LoadFromData(const QByteArray &Data)
{
    graphic_ = LoadGraphicFromData(Data);
    changed();
}
