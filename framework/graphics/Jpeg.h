#pragma once
// JPEG pictures, encoded and decoded through libjpeg.
#include "framework/graphics/Graphics.h"

enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
using TJPEGQualityRange = int; // 1..100

class TJPEGImage : public TGraphic
{
public:
    void Assign(TPersistent *Source) override;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    // A JPEG cannot be resized in place.
    void SetWidth(int v) override;
    void SetHeight(int v) override;
    bool Empty() const override { return image_.isNull(); }

    TJPEGQualityRange CompressionQuality() const { return quality_; }
    void SetCompressionQuality(TJPEGQualityRange v);
    // Decodes to grey levels.
    bool Grayscale() const { return grayscale_; }
    void SetGrayscale(bool v);
    // Decodes at 1/1, 1/2, 1/4 or 1/8 of the full size.
    TJPEGScale Scale() const { return scale_; }
    void SetScale(TJPEGScale v);

    // Encodes the current pixels anew with CompressionQuality.
    void Compress();
    // Raises EJPEG with libjpeg's message when the data is empty, truncated or corrupt.
    void LoadFromData(const QByteArray &Data) override;
    QByteArray SaveToData() const override;
    QImage ToImage() const override { return image_; }
    // Takes the pixels of an image (alpha dropped).
    void SetImage(const QImage &img);

private:
    void decode();

    QByteArray data_;
    QImage image_;
    int quality_ = 90;
    bool grayscale_ = false;
    TJPEGScale scale_ = jsFullSize;
};

// Low-level codec: raise EJPEG on failure.
QImage DecodeJPEG(const QByteArray &Data, bool Grayscale = false, int ScaleDenom = 1);
QByteArray EncodeJPEG(const QImage &Image, int Quality);
