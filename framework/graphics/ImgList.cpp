#include "framework/graphics/ImgList.h"
#include <QPainter>

namespace {

QImage withMask(const QImage &source, const QImage *mask)
{
    QImage img = source.convertToFormat(QImage::Format_ARGB32);
    if (!mask)
        return img;
    const QImage m = mask->convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto *px = reinterpret_cast<QRgb *>(img.scanLine(y));
        const auto *mk = y < m.height() ? reinterpret_cast<const QRgb *>(m.constScanLine(y)) : nullptr;
        for (int x = 0; x < img.width(); ++x)
            // Monochrome masks: anything light counts as white.
            if (mk && x < m.width() && qGray(mk[x]) >= 128)
                px[x] = 0;
    }
    return img;
}

QImage withMaskColor(const QImage &source, QRgb key)
{
    QImage img = source.convertToFormat(QImage::Format_ARGB32);
    key &= 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto *px = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((px[x] & 0xFFFFFF) == key)
                px[x] = 0;
    }
    return img;
}

QImage sourceOf(TBitmap *Image)
{
    if (!Image || Image->Empty())
        throw EInvalidOperation(QStringLiteral("Cannot add an empty image to an image list"));
    return Image->Image();
}

} // namespace

TCustomImageList::TCustomImageList(TComponent *AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(int AWidth, int AHeight, TComponent *AOwner) : TComponent(AOwner)
{
    SetSize(AWidth, AHeight);
}

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    if (AWidth < 1 || AHeight < 1)
        throw EInvalidOperation(QStringLiteral("Invalid image list size %1 x %2").arg(AWidth).arg(AHeight));
    if (AWidth == width_ && AHeight == height_)
        return;
    width_ = AWidth;
    height_ = AHeight;
    images_.clear();
    changed();
}

std::vector<QImage> TCustomImageList::split(const QImage &source) const
{
    const int n = std::max(1, source.width() / width_);
    std::vector<QImage> parts;
    for (int i = 0; i < n; ++i) {
        QImage part(width_, height_, QImage::Format_ARGB32);
        part.fill(Qt::transparent);
        QPainter p(&part);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, source, i * width_, 0, width_, height_);
        p.end();
        parts.push_back(part);
    }
    return parts;
}

int TCustomImageList::addImages(std::vector<QImage> parts)
{
    const int first = Count();
    for (auto &p : parts)
        images_.push_back(std::move(p));
    changed();
    return first;
}

void TCustomImageList::checkIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(QStringLiteral("Invalid image list index %1").arg(Index));
}

void TCustomImageList::changed()
{
    if (OnChange)
        OnChange(this);
}

int TCustomImageList::Add(TBitmap *Image, TBitmap *Mask)
{
    QImage src = sourceOf(Image);
    QImage mask = Mask && !Mask->Empty() ? Mask->Image() : QImage();
    return addImages(split(withMask(src, mask.isNull() ? nullptr : &mask)));
}

int TCustomImageList::AddMasked(TBitmap *Image, TColor MaskColor)
{
    QImage src = sourceOf(Image);
    TColor key = MaskColor == clDefault ? Image->TransparentColor() : MaskColor;
    return addImages(split(withMaskColor(src, ColorToQColor(key).rgb())));
}

void TCustomImageList::Replace(int Index, TBitmap *Image, TBitmap *Mask)
{
    checkIndex(Index);
    QImage src = sourceOf(Image);
    QImage mask = Mask && !Mask->Empty() ? Mask->Image() : QImage();
    images_[size_t(Index)] = split(withMask(src, mask.isNull() ? nullptr : &mask)).front();
    changed();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap *NewImage, TColor MaskColor)
{
    checkIndex(Index);
    QImage src = sourceOf(NewImage);
    TColor key = MaskColor == clDefault ? NewImage->TransparentColor() : MaskColor;
    images_[size_t(Index)] = split(withMaskColor(src, ColorToQColor(key).rgb())).front();
    changed();
}

void TCustomImageList::Delete(int Index)
{
    checkIndex(Index);
    images_.erase(images_.begin() + Index);
    changed();
}

void TCustomImageList::Clear()
{
    images_.clear();
    changed();
}

QImage TCustomImageList::GetImage(int Index) const
{
    return Index >= 0 && Index < Count() ? images_[size_t(Index)] : QImage();
}

void TCustomImageList::Draw(TCanvas *Canvas, int X, int Y, int Index, bool Enabled)
{
    QImage img = GetImage(Index);
    QPainter *p = Canvas ? Canvas->Painter() : nullptr;
    if (img.isNull() || !p)
        return;
    if (!Enabled) {
        // Grey, lighter and half transparent, like a disabled toolbar glyph.
        for (int y = 0; y < img.height(); ++y) {
            auto *px = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                int g = 128 + qGray(px[x]) / 2;
                px[x] = qRgba(g, g, g, qAlpha(px[x]) / 2);
            }
        }
    }
    p->drawImage(X, Y, img);
}

bool TCustomImageList::GetBitmap(int Index, TBitmap *Image)
{
    if (!Image || Index < 0 || Index >= Count())
        return false;
    Image->SetPixelFormat(pf32bit);
    Image->SetImage(images_[size_t(Index)]);
    return true;
}
