// JPEG pictures: any bytes decode, at any scale and in grey or colour, or are refused with
// EJPEG, within the stated pixel bound and libjpeg's memory cap; a decoded picture encoded
// again decodes to the same size.
#include "fuzz/FuzzCommon.h"
#include "framework/graphics/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size < 1)
        return 0;
    TJPEGImage jpeg;
    jpeg.SetScale(TJPEGScale(Data[0] & 3));
    jpeg.SetGrayscale(Data[0] & 4);
    try {
        jpeg.LoadFromData(QByteArray(reinterpret_cast<const char *>(Data + 1), qsizetype(Size - 1)));
    } catch (const EJPEG &) {
        FUZZ_CHECK(jpeg.Empty(), QString());
        return 0;
    }
    const QImage img = jpeg.ToImage();
    FUZZ_CHECK(!img.isNull() && qint64(img.width()) * img.height() <= 64LL * 1000 * 1000, QString());
    const QImage back = DecodeJPEG(EncodeJPEG(img, 75));
    FUZZ_CHECK(back.size() == img.size(), QStringLiteral("%1 x %2").arg(img.width()).arg(img.height()));
    return 0;
}
