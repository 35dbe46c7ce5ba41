#include "framework/graphics/Jpeg.h"
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>

namespace {

// libjpeg reports errors by calling error_exit, which must not return: it jumps back to the
// codec function, which turns the message into an exception once outside libjpeg.
struct JpegErr
{
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<JpegErr *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

// Warnings while decoding mean damaged data (a truncated file, a broken scan): rather than
// show a half-grey picture, they fail like errors.
void onDecodeMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        onError(cinfo);
}

void onEncodeMessage(j_common_ptr, int) {}

// Pictures of a cell or a form, not aerial surveys: 64 million pixels (an 8000 x 8000 photo)
// is the most a picture may declare, and libjpeg may use at most 384 MB while decoding, which
// holds the coefficients of the largest progressive colour picture.
constexpr uint64_t kMaxJpegPixels = 64ull * 1000 * 1000;
constexpr long kMaxJpegWorkMemory = 384L * 1024 * 1024;

struct Decoded
{
    int width = 0, height = 0, components = 0;
    bool cmyk = false, adobe = false;
    unsigned char *pixels = nullptr; // malloc'd
};

// Only plain data lives in this frame, so the long jump skips no destructor.
bool decodeRaw(const unsigned char *data, unsigned long size, bool gray, int denom, Decoded &out, char *message)
{
    jpeg_decompress_struct cinfo;
    JpegErr err;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onDecodeMessage;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        jpeg_destroy_decompress(&cinfo);
        std::free(out.pixels);
        out.pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    // libjpeg's own working memory (a progressive image keeps all its coefficients) is capped,
    // so that damaged data fails instead of taking the machine's memory.
    cinfo.mem->max_memory_to_use = kMaxJpegWorkMemory;
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    // The header alone decides: a picture beyond the bound is refused before any pixel memory.
    if (uint64_t(cinfo.image_width) * cinfo.image_height > kMaxJpegPixels) {
        std::snprintf(err.message, sizeof err.message, "the picture is %u x %u pixels, more than the %llu million allowed",
                      unsigned(cinfo.image_width), unsigned(cinfo.image_height), (unsigned long long)(kMaxJpegPixels / 1000000));
        longjmp(err.jump, 1);
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = denom;
    if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
        cinfo.out_color_space = JCS_CMYK;
        out.cmyk = true;
        out.adobe = cinfo.saw_Adobe_marker;
    } else {
        cinfo.out_color_space = gray ? JCS_GRAYSCALE : (cinfo.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB);
    }
    jpeg_start_decompress(&cinfo);
    out.width = int(cinfo.output_width);
    out.height = int(cinfo.output_height);
    out.components = cinfo.output_components;
    size_t stride = size_t(out.width) * size_t(out.components);
    out.pixels = static_cast<unsigned char *>(std::malloc(stride * size_t(out.height) + 1));
    if (!out.pixels) {
        std::snprintf(err.message, sizeof err.message, "Out of memory");
        longjmp(err.jump, 1);
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.pixels + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool encodeRaw(const unsigned char *rgb, int width, int height, int stride, int quality,
               unsigned char **buffer, unsigned long *size, char *message)
{
    jpeg_compress_struct cinfo;
    JpegErr err;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onEncodeMessage;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char *>(rgb + size_t(stride) * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

QImage DecodeJPEG(const QByteArray &Data, bool Grayscale, int ScaleDenom)
{
    if (Data.isEmpty())
        throw EJPEG(QStringLiteral("JPEG image is not valid: the data is empty"));
    Decoded d;
    char message[JMSG_LENGTH_MAX] = {0};
    if (!decodeRaw(reinterpret_cast<const unsigned char *>(Data.constData()), (unsigned long)Data.size(),
                   Grayscale, ScaleDenom, d, message))
        throw EJPEG(QStringLiteral("JPEG image is not valid: %1").arg(QString::fromLocal8Bit(message)));
    std::unique_ptr<unsigned char, decltype(&std::free)> keep(d.pixels, &std::free);
    QImage img(d.width, d.height, QImage::Format_RGB32);
    if (img.isNull())
        throw EJPEG(QStringLiteral("JPEG image is too large (%1 x %2)").arg(d.width).arg(d.height));
    for (int y = 0; y < d.height; ++y) {
        const unsigned char *src = d.pixels + size_t(y) * d.width * d.components;
        auto *dst = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < d.width; ++x, src += d.components) {
            if (d.components == 1) {
                dst[x] = qRgb(src[0], src[0], src[0]);
            } else if (d.cmyk) {
                // Adobe writes CMYK inverted.
                int c = src[0], m = src[1], yv = src[2], k = src[3];
                if (!d.adobe) { c = 255 - c; m = 255 - m; yv = 255 - yv; k = 255 - k; }
                dst[x] = qRgb(c * k / 255, m * k / 255, yv * k / 255);
            } else {
                dst[x] = qRgb(src[0], src[1], src[2]);
            }
        }
    }
    return img;
}

QByteArray EncodeJPEG(const QImage &Image, int Quality)
{
    if (Image.isNull())
        return QByteArray();
    QImage rgb = Image.convertToFormat(QImage::Format_RGB888);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {0};
    bool ok = encodeRaw(rgb.constBits(), rgb.width(), rgb.height(), int(rgb.bytesPerLine()),
                        std::clamp(Quality, 1, 100), &buffer, &size, message);
    QByteArray out;
    if (ok)
        out = QByteArray(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    if (!ok)
        throw EJPEG(QStringLiteral("JPEG image could not be written: %1").arg(QString::fromLocal8Bit(message)));
    return out;
}

void TJPEGImage::Assign(TPersistent *Source)
{
    if (auto *j = dynamic_cast<TJPEGImage *>(Source)) {
        data_ = j->data_;
        image_ = j->image_;
        quality_ = j->quality_;
        grayscale_ = j->grayscale_;
        scale_ = j->scale_;
        Changed();
        return;
    }
    if (auto *g = dynamic_cast<TGraphic *>(Source)) {
        SetImage(g->ToImage());
        return;
    }
    if (!Source) {
        data_.clear();
        image_ = QImage();
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of a JPEG image")); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of a JPEG image")); }

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange v) { quality_ = std::clamp(v, 1, 100); }

void TJPEGImage::SetGrayscale(bool v)
{
    if (v == grayscale_)
        return;
    grayscale_ = v;
    decode();
}

void TJPEGImage::SetScale(TJPEGScale v)
{
    if (v == scale_)
        return;
    scale_ = v;
    decode();
}

void TJPEGImage::decode()
{
    if (data_.isEmpty())
        return;
    image_ = DecodeJPEG(data_, grayscale_, 1 << int(scale_));
    Changed();
}

void TJPEGImage::Compress()
{
    data_ = EncodeJPEG(image_, quality_);
}

void TJPEGImage::LoadFromData(const QByteArray &Data)
{
    // Decode first so that a bad file leaves the picture as it was.
    QImage img = DecodeJPEG(Data, grayscale_, 1 << int(scale_));
    data_ = Data;
    image_ = img;
    Changed();
}

QByteArray TJPEGImage::SaveToData() const
{
    if (!data_.isEmpty() || image_.isNull())
        return data_;
    return EncodeJPEG(image_, quality_);
}

void TJPEGImage::SetImage(const QImage &img)
{
    image_ = img.isNull() ? QImage() : img.convertToFormat(QImage::Format_RGB32);
    data_.clear();
    Changed();
}
