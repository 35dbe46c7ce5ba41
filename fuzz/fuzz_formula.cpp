// Formulas: any bytes as a token array (length word first, array data after the tokens, the same
// bytes also as the cell's array and table formula) decode or are refused with an Exception; any
// bytes as a formula text encode or are refused, and the text that accepted tokens decode to
// encodes again and decodes back to itself.
#include "fuzz/FuzzCommon.h"
#include "tests/progrid/xls/formulas/FormulaFixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    FuzzSetUp();
    fml::FakeCellList cells;
    cells.ExternSheets = {{0, 0}, {1, 2}, {2, 0}};
    const ByteArray bytes(Data, Data + Size);
    cells.Arrays[{0, 0}] = bytes;
    cells.Tables[{0, 0}] = bytes;
    try {
        (void)DecodeFormulaTokens(Data, int32_t(Size), 2, &cells);
    } catch (const Exception &) {
    }

    const QString text = QLatin1Char('=') + QString::fromUtf8(reinterpret_cast<const char *>(Data), qsizetype(Size));
    ByteArray tokens;
    try {
        tokens = fml::Encode(text, &cells);
    } catch (const Exception &) {
        return 0;
    }
    const QString decoded = fml::Decode(tokens, &cells);
    ByteArray again;
    try {
        again = fml::Encode(decoded, &cells);
    } catch (const Exception &e) {
        // Numbers may come back longer (1E14 as 100000000000000), beyond what a formula may hold.
        FUZZ_CHECK(decoded.size() >= 1024, text + QStringLiteral(" -> ") + decoded + QStringLiteral(": ") + e.Message());
        return 0;
    }
    const QString back = fml::Decode(again, &cells);
    FUZZ_CHECK(back == decoded, text + QStringLiteral(" -> ") + decoded + QStringLiteral(" -> ") + back);
    return 0;
}
