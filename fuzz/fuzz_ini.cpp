// INI files: any text loads or is refused with EIniFileException and leaves the store as it
// was; what the store writes loads back as the same sections and values. Names and values
// from the input are either refused with nothing written, or read back, also from the file.
#include "fuzz/FuzzCommon.h"
#include "framework/os/IniFiles.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"

#include <map>

namespace {

QStringList Everything(TMemIniFile &ini)
{
    QStringList out;
    TStringList sections;
    ini.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        TStringList values;
        ini.ReadSectionValues(sections.Strings(i), &values);
        out << QLatin1Char('[') + sections.Strings(i) + QLatin1Char(']') << values.ToStringList();
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    if (Size < 1)
        return 0;
    const QString file = FuzzPath(QStringLiteral("t.ini"));
    QFile::remove(file);
    TMemIniFile ini(file);
    if (!(Data[0] & 1)) {
        const QString text = TEncoding::DecodeFileText(QByteArray(reinterpret_cast<const char *>(Data + 1), qsizetype(Size - 1)));
        ini.SetText(QStringLiteral("[kept]\r\nk=v\r\n"));
        try {
            ini.SetText(text);
        } catch (const EIniFileException &) {
            FUZZ_CHECK(ini.ReadString(QStringLiteral("kept"), QStringLiteral("k"), QString()) == QStringLiteral("v"), text);
            return 0;
        }
        TMemIniFile again(FuzzPath(QStringLiteral("other.ini")));
        again.SetText(ini.Text());
        FUZZ_CHECK(Everything(again) == Everything(ini), ini.Text());
        return 0;
    }

    // Name and value triples, cells split as for the grids; the last write of a name wins.
    std::map<std::pair<QString, QString>, QString> expected;
    for (const QStringList &row : FuzzCells(Data + 1, Size - 1, 40, 3, 1, 3)) {
        const QString before = ini.Text();
        try {
            ini.WriteString(row[0], row[1], row[2]);
        } catch (const EIniFileException &) {
            FUZZ_CHECK(ini.Text() == before, row.join(QStringLiteral(" | ")));
            continue;
        }
        FUZZ_CHECK(ini.ReadString(row[0], row[1], QStringLiteral("<none>")) == row[2], row.join(QStringLiteral(" | ")));
        expected[{row[0].toCaseFolded(), row[1].toCaseFolded()}] = row[2];
    }
    ini.UpdateFile();
    TMemIniFile back(file);
    for (const auto &[key, value] : expected)
        FUZZ_CHECK(back.ReadString(key.first, key.second, QStringLiteral("<none>")) == value,
                   key.first + QStringLiteral(" / ") + key.second + QStringLiteral("\n") + ini.Text());
    FUZZ_CHECK(Everything(back) == Everything(ini), ini.Text());
    return 0;
}
