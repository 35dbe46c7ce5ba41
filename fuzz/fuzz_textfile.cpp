// Text files and string lists: any bytes decode (byte-order mark, else UTF-8 when valid, else
// Windows-1252); the bytes chosen for any text decode to that text; a string list saved in
// any encoding that holds its characters loads back as the same lines.
#include "fuzz/FuzzCommon.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"

namespace {

void CheckList(const QStringList &lines, TEncoding *e)
{
    // UTF-16 LE's mark followed by a NUL character is UTF-32 LE's mark: such a file reads as UTF-32.
    if (e == TEncoding::Unicode() && !lines.isEmpty() && lines.first().startsWith(QChar(0)))
        return;
    TStringList list;
    for (const QString &l : lines)
        list.Add(l);
    TMemoryStream stream;
    list.SaveToStream(&stream, e);
    stream.SetPosition(0);
    TStringList back;
    back.LoadFromStream(&stream);
    FUZZ_CHECK(back.ToStringList() == list.ToStringList(), FuzzShow({list.ToStringList()}) + FuzzShow({back.ToStringList()}));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    const QByteArray bytes(reinterpret_cast<const char *>(Data), qsizetype(Size));
    const QString text = TEncoding::DecodeFileText(bytes);
    const QByteArray again = TEncoding::EncodeFileText(text);
    FUZZ_CHECK(TEncoding::DecodeFileText(again) == text, FuzzShow({{text}}));

    TStringList list;
    TMemoryStream in;
    in.WriteBuffer(bytes.constData(), bytes.size());
    in.SetPosition(0);
    list.LoadFromStream(&in);
    for (TEncoding *e : {static_cast<TEncoding *>(nullptr), TEncoding::UTF8(), TEncoding::Unicode(), TEncoding::BigEndianUnicode(),
                         TEncoding::UTF32(), TEncoding::BigEndianUTF32()})
        CheckList(list.ToStringList(), e);
    // Lines made from the input as UTF-8, with any character but a line break.
    CheckList(QString::fromUtf8(bytes).remove(QChar('\r')).remove(QChar('\n')).split(QChar(0x1E)), nullptr);
    return 0;
}
