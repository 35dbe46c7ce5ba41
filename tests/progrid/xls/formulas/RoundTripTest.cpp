// Formula texts encode, decode to the text the engine writes, and that text encodes to the same
// tokens again.
#include "FormulaFixture.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

using namespace fml;

TEST(FormulaRoundTrip, EncodeDecodeEncode)
{
    FakeCellList cells;
    const struct
    {
        const char *text;
        const char *decoded; // nullptr: the text itself
        bool sameTokens = true;
    } cases[] = {
        {"=SUM(A1:B3)*2", nullptr},
        {"=sum(a1:b3)", "=SUM(A1:B3)"},
        {"=ABS(-A1)+SQRT(B2^2)", nullptr},
        {"=MMULT(A1:B2,C1:D2)", nullptr},
        {"=SUMPRODUCT(A1:A3,B1:B3)", nullptr},
        {"=ROWS(INDEX($A$1:$B$9,2,1))", nullptr},
        {"=IF(A1>0,\"yes\",\"say \"\"no\"\"\")", nullptr},
        {"=IF(A1,,1)", nullptr},
        {"=CHOOSE(2,A1,B1)", nullptr},
        {"=SUBTOTAL(9,A1:A9,C1:C9)", nullptr},
        {"=SUM((A1,B1),C1:C2)", nullptr},
        {"=A1,B1:C2", nullptr},
        {"=A1:B2:C3", nullptr},
        {"=$A:$A", nullptr},
        {"=B:C", nullptr},
        {"=1:3", "=A1:IV3"},
        {"=$2:$2", "=A$2:IV$2"},
        {"=A1%+5%%", nullptr},
        {"=(A1+B1)%", nullptr},
        {"=-2^2", nullptr},
        {"=-+1", nullptr},
        {"=- -1", nullptr},
        {"=1<>2", nullptr},
        {"=A1<=B1", nullptr},
        {"=\"a\"&B1>=\"b\"", nullptr},
        {"=TRUE", nullptr},
        {"=NOT(false)", "=NOT(FALSE)"},
        {"=#div/0!", "=#DIV/0!"},
        {"=ISNA(#N/A)", nullptr},
        {"=\"\"", nullptr},
        {"=0.25*3", nullptr},
        {"=1E-6+65535+65536", nullptr},
        {"=NOW()", nullptr},
        {"=Sheet2!A1", "='Sheet2'!A1"},
        {"='Data 2010'!$B$2:C3", nullptr},
        {"=SUM(Sheet1:Sheet2!A1)", "=SUM('Sheet1:Sheet2'!A1)"},
        {"=SUM('Sheet1:Sheet2'!A:B)", nullptr},
        {"= 1 + 2", nullptr},
        {"=( 1 )", nullptr},
        {"= (1)", nullptr},
        // Spaces before "," and before a function's ")" are not kept.
        {"=SUM( A1 , B1 )", "=SUM( A1, B1)", false},
        {"=IV65536-$A$1", nullptr},
        {"=\"" "\xe4" "\"", nullptr},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromLatin1(c.text);
        const QString expected = c.decoded ? QString::fromLatin1(c.decoded) : text;
        const ByteArray tokens = Encode(text, &cells);
        const QString decoded = Decode(tokens, &cells);
        EXPECT_EQ(decoded, expected) << c.text;
        const ByteArray again = Encode(decoded, &cells);
        if (c.sameTokens) {
            EXPECT_EQ(HexOf(again), HexOf(tokens)) << c.text;
        }
        EXPECT_EQ(Decode(again, &cells), decoded) << c.text;
    }

    // 16-bit characters in strings.
    const QString wide = QStringLiteral("=\"") + QChar(0x043A) + QStringLiteral("\"&A1");
    EXPECT_EQ(Decode(Encode(wide, &cells), &cells), wide);
}
