// Rich text: any bytes read as RTF or are refused with ERichTextError; the runs read, written
// by the RTF writer, read back as the same runs.
#include "fuzz/FuzzCommon.h"
#include "framework/graphics/RichText.h"

namespace {

QString Show(const TRichText &runs)
{
    QString out;
    for (const TRichRun &r : runs)
        out += QStringLiteral("{%1|%2|%3|%4|%5}").arg(FuzzShow({{r.Text}}).trimmed(), FuzzShow({{r.FontName}}).trimmed()).arg(r.FontSize).arg(uint32_t(r.Color)).arg(int(r.Vertical));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    TRichText runs;
    try {
        runs = RTFToRichText(QByteArray(reinterpret_cast<const char *>(Data), qsizetype(Size)));
    } catch (const ERichTextError &) {
        return 0;
    }
    for (const TRichRun &r : runs)
        FUZZ_CHECK(r.FontSize >= 0 && !r.Text.isEmpty(), Show(runs));
    const QByteArray rtf = RichTextToRTF(runs);
    TRichText back;
    try {
        back = RTFToRichText(rtf);
    } catch (const ERichTextError &e) {
        FuzzFail("the writer's RTF is refused", e.Message() + QStringLiteral("\n") + QString::fromLatin1(rtf));
    }
    FUZZ_CHECK(back == runs, QStringLiteral("read:\n%1\nback:\n%2\nrtf:\n%3").arg(Show(runs), Show(back), QString::fromLatin1(rtf)));
    return 0;
}
