#pragma once
// A list of equally sized images with transparency, drawn by index.
#include "framework/graphics/Graphics.h"
#include <QImage>
#include <vector>

class TCustomImageList : public TComponent
{
public:
    explicit TCustomImageList(TComponent *AOwner = nullptr);
    TCustomImageList(int AWidth, int AHeight, TComponent *AOwner = nullptr);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size empties the list: the images no longer fit.
    void SetWidth(int v) { SetSize(v, height_); }
    void SetHeight(int v) { SetSize(width_, v); }
    void SetSize(int AWidth, int AHeight);
    int Count() const { return int(images_.size()); }

    // A bitmap wider than Width is cut into Width-wide images. Mask is monochrome: its white
    // pixels are transparent; without one the images are opaque. Returns the index of the
    // first image added; a missing or empty Image raises EInvalidOperation.
    int Add(TBitmap *Image, TBitmap *Mask);
    // Pixels of MaskColor become transparent (clDefault: the bitmap's transparent colour).
    int AddMasked(TBitmap *Image, TColor MaskColor);
    void Replace(int Index, TBitmap *Image, TBitmap *Mask);
    void ReplaceMasked(int Index, TBitmap *NewImage, TColor MaskColor);
    void Delete(int Index);
    void Clear();

    // Draws image Index with its top-left corner at (X, Y); a disabled image is greyed.
    // An index outside the list draws nothing.
    void Draw(TCanvas *Canvas, int X, int Y, int Index, bool Enabled = true);
    // Puts image Index into Image as a 32-bit bitmap with its transparency; false when the
    // index is outside the list.
    bool GetBitmap(int Index, TBitmap *Image);
    // The image with its transparency (null outside the list).
    QImage GetImage(int Index) const;

    TNotifyEvent OnChange;

private:
    std::vector<QImage> split(const QImage &source) const;
    int addImages(std::vector<QImage> parts);
    void checkIndex(int Index) const;
    void changed();

    int width_ = 16;
    int height_ = 16;
    std::vector<QImage> images_;
};

class TImageList : public TCustomImageList
{
public:
    using TCustomImageList::TCustomImageList;
};
