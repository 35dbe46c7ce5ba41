// Token-array walkers: references follow inserted and deleted rows and columns, copies, shared
// formulas and sheet copies; what leaves the sheet becomes a reference error; a token that runs
// past the array is refused.
#include "FormulaRecordFixture.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"

using namespace frm;

namespace {

struct TMove
{
    int RowPos = 0, RowCount = 0, RowOffset = 0, ColPos = 0, ColCount = 0, ColOffset = 0;
};

QByteArray Walked(const QByteArray &tokens, const TMove &m, const TSheetInfo &s = OnSheet(0))
{
    ByteArray b = Bytes(tokens);
    ArrangeInsertTokens(b.data(), 0, int32_t(b.size()), m.RowPos, m.RowCount, m.RowOffset, m.ColPos, m.ColCount,
                        m.ColOffset, s, true);
    return Q(b);
}

// The same case on rows and, mirrored, on columns.
struct TCase
{
    const char *What;
    int Pos, Count;
    QByteArray (*Before)(bool cols);
    QByteArray (*After)(bool cols);
};

QByteArray R(bool cols, int v, int token = 0x24) { return cols ? Ref(3, v, Rel, token) : Ref(v, 3, Rel, token); }
QByteArray A(bool cols, int v1, int v2, int token = 0x25)
{
    return cols ? Area(1, 4, v1, v2, Rel, token) : Area(v1, v2, 1, 4, Rel, token);
}

} // namespace

TEST(TokenWalker, InsertedAndDeletedRowsAndColumnsMoveReferences)
{
    const TCase cases[] = {
        {"insert 2 at 5: 7 -> 9", 5, 2, [](bool c) { return R(c, 7); }, [](bool c) { return R(c, 9); }},
        {"insert 2 at 5: 4 stays", 5, 2, [](bool c) { return R(c, 4); }, [](bool c) { return R(c, 4); }},
        {"insert: the last row or column leaves the sheet", 5, 2, [](bool c) { return R(c, c ? 255 : 65535); },
         [](bool c) { return R(c, c ? 255 : 65535, 0x2A); }},
        {"delete 5-7: 6 is deleted", 5, -3, [](bool c) { return R(c, 6); }, [](bool c) { return R(c, 6, 0x2A); }},
        {"delete 5-7: 10 -> 7", 5, -3, [](bool c) { return R(c, 10); }, [](bool c) { return R(c, 7); }},
        {"delete 5-7: 2..10 -> 2..7", 5, -3, [](bool c) { return A(c, 2, 10); }, [](bool c) { return A(c, 2, 7); }},
        {"delete 5-7: 2..6 -> 2..4", 5, -3, [](bool c) { return A(c, 2, 6); }, [](bool c) { return A(c, 2, 4); }},
        {"delete 5-7: 6..10 -> 5..7", 5, -3, [](bool c) { return A(c, 6, 10); }, [](bool c) { return A(c, 5, 7); }},
        {"delete 5-7: 5..7 is deleted", 5, -3, [](bool c) { return A(c, 5, 7); },
         [](bool c) { return A(c, 5, 7, 0x2B); }},
        {"delete 5-7: a whole column (row) stays", 5, -3, [](bool c) { return A(c, 0, c ? 255 : 65535); },
         [](bool c) { return A(c, 0, c ? 255 : 65535); }},
        {"delete 5-7: 3..4 stays", 5, -3, [](bool c) { return A(c, 3, 4); }, [](bool c) { return A(c, 3, 4); }},
        {"insert 2 at 5: 3..6 -> 3..8", 5, 2, [](bool c) { return A(c, 3, 6); }, [](bool c) { return A(c, 3, 8); }},
        {"insert 2 at 5: the area's end past the sheet", 5, 2, [](bool c) { return A(c, 6, c ? 254 : 65534); },
         [](bool c) { return A(c, 8, c ? 254 : 65534, 0x2B); }},
        {"3-D reference on this sheet", 5, 2, [](bool c) { return c ? Ref3D(0, 3, 7) : Ref3D(0, 7, 3); },
         [](bool c) { return c ? Ref3D(0, 3, 9) : Ref3D(0, 9, 3); }},
        {"3-D area deleted", 5, -3, [](bool c) { return c ? Area3D(0, 1, 4, 5, 7) : Area3D(0, 5, 7, 1, 4); },
         [](bool c) {
             QByteArray b = c ? Area3D(0, 1, 4, 5, 7) : Area3D(0, 5, 7, 1, 4);
             b[0] = char(0x3D);
             return b;
         }},
        {"value-class reference", 5, -3, [](bool c) { return R(c, 10, 0x44); }, [](bool c) { return R(c, 7, 0x44); }},
    };
    TSheetInfo s = OnSheet(0);
    s.GetSheet = [](int32_t) { return 0; };
    for (const TCase &c : cases)
        for (const bool cols : {false, true}) {
            const TMove m = cols ? TMove{0, 0, 0, c.Pos, c.Count, 0} : TMove{c.Pos, c.Count, 0, 0, 0, 0};
            EXPECT_EQ(Walked(c.Before(cols), m, s).toHex(), c.After(cols).toHex())
                << c.What << (cols ? " (columns)" : "");
        }
}

TEST(TokenWalker, CopiesMoveRelativePartsOnly)
{
    fml::FakeCellList cells;
    const auto copied = [&](const QByteArray &tokens, int rows, int cols) {
        return fml::Decode(Bytes(Walked(tokens, TMove{0, 0, rows, 0, 0, cols}, TSheetInfo())), &cells);
    };
    EXPECT_EQ(copied(Ref(0, 0), 3, 0), QStringLiteral("=A4"));
    EXPECT_EQ(copied(Ref(0, 0, 0), 3, 0), QStringLiteral("=$A$1"));
    EXPECT_EQ(copied(Ref(0, 0, 0x8000), 3, 2), QStringLiteral("=$A4"));
    EXPECT_EQ(copied(Ref(0, 0), -1, 0), QStringLiteral("=#REF!"));
    EXPECT_EQ(copied(Area(1, 2, 1, 2), 1, 1), QStringLiteral("=C3:D4"));
    EXPECT_EQ(copied(Ref(4, 3) + Ref(0, 0) + B({0x03}), 0, -1), QStringLiteral("=C5+#REF!"));
}

TEST(TokenWalker, SharedFormulaTokensBecomeTheCellsReferences)
{
    // Offsets -1 row and +2 columns from the cell at row 10, column 3.
    ByteArray b = Bytes(B({0x2C}) + Le16(0xFFFF) + Le16(0x02 | Rel) + Area(0xFFFF, 1, 0xFF, 0, Rel, 0x2D)
                        + Ref(7, 1, 0) + B({0x03}));
    ExpandSharedTokens(b.data(), 0, int32_t(b.size()), 10, 3);
    EXPECT_EQ(Q(b).toHex(), (Ref(9, 5) + Area(9, 11, 2, 3) + Ref(7, 1, 0) + B({0x03})).toHex());
}

TEST(TokenWalker, OnlyReferencesToTheChangedSheetMove)
{
    // The formula lies on sheet 1; rows are inserted on sheet 2. EXTERNSHEET entry i is sheet i + 1.
    TSheetInfo s;
    s.FormulaSheet = 1;
    s.InsSheet = 2;
    s.GetSheet = [](int32_t ext) { return ext + 1; };
    const TMove ins{5, 2, 0, 0, 0, 0};
    EXPECT_EQ(Walked(Ref(7, 3), ins, s), Ref(7, 3));
    EXPECT_EQ(Walked(Ref3D(1, 7, 3), ins, s), Ref3D(1, 9, 3));
    EXPECT_EQ(Walked(Ref3D(0, 7, 3), ins, s), Ref3D(0, 7, 3));
    // Without the mapping a 3-D reference counts as one to the formula's own sheet.
    s.GetSheet = nullptr;
    EXPECT_EQ(Walked(Ref3D(1, 7, 3), ins, s), Ref3D(1, 7, 3));
}

TEST(TokenWalker, SheetCopiesRetargetReferencesAndLocalNames)
{
    // Sheet 0 is copied to sheet 3, whose EXTERNSHEET entry is 5.
    TNameRecordList names;
    names.Add(Make<TNameRecord>(0x18, NameData(QStringLiteral("Total"), QByteArray())).release());
    names.Add(Make<TNameRecord>(0x18, NameData(QStringLiteral("Total"), QByteArray(), 3)).release());
    names.Add(Make<TNameRecord>(0x18, NameData(QStringLiteral("Other"), QByteArray(), 2)).release());
    TSheetInfo s;
    s.FormulaSheet = 0;
    s.InsSheet = 3;
    s.GetSheet = [](int32_t ext) { return ext; };
    s.SetSheet = [](int32_t sheet) { return sheet + 2; };
    s.Names = &names;
    const QByteArray tokens = Ref3D(0, 1, 1) + Ref3D(1, 1, 1) + B({0x23}) + Le16(1) + Le16(0) + B({0x43}) + Le16(3)
                              + Le16(0) + B({0x39}) + Le16(0) + Le16(1) + Le16(0) + B({0x03, 0x03, 0x03});
    ByteArray b = Bytes(tokens);
    ArrangeSheetTokens(b.data(), 0, int32_t(b.size()), s);
    const QByteArray want = Ref3D(5, 1, 1) + Ref3D(1, 1, 1) + B({0x23}) + Le16(2) + Le16(0) + B({0x43}) + Le16(3)
                            + Le16(0) + B({0x39}) + Le16(0) + Le16(2) + Le16(0) + B({0x03, 0x03, 0x03});
    EXPECT_EQ(Q(b).toHex(), want.toHex());
}

TEST(TokenWalker, StepsOverEveryOtherToken)
{
    // Number, string, integer, bool, error, choose, function, variable function, array, sum attribute.
    const QByteArray tokens = B({0x1F}) + QByteArray(8, 0x24) + B({0x17, 2, 0, 0x24, 0x24}) + B({0x1E, 0x24, 0})
                              + B({0x1D, 1, 0x1C, 7}) + B({0x19, 0x04}) + Le16(2) + Le16(0x24) + Le16(0x24) + Le16(0x24)
                              + B({0x21, 0x24, 0, 0x22, 2, 0x24, 0, 0x60}) + QByteArray(7, 0x24) + B({0x19, 0x10, 0, 0})
                              + B({0x29, 0, 0, 0x15, 0x16}) + Ref(7, 3);
    QByteArray want = tokens;
    want.replace(want.size() - 5, 5, Ref(9, 3));
    EXPECT_EQ(Walked(tokens, TMove{5, 2, 0, 0, 0, 0}).toHex(), want.toHex());
}

TEST(TokenWalker, RefusesTokensItCannotHandleOrThatRunPastTheArray)
{
    const auto token = [](const QByteArray &tokens, const TMove &m = TMove{5, 2, 0, 0, 0, 0}) {
        try {
            Walked(tokens, m);
        } catch (const ETokenException &e) {
            return e.Token;
        }
        return -1;
    };
    for (const int t : {0x00, 0x18, 0x1A, 0x26, 0x27, 0x28, 0x2E, 0x2F, 0x46, 0x80, 0xFF})
        EXPECT_EQ(token(B({t}) + QByteArray(16, 0)), t) << std::hex << t;
    EXPECT_EQ(fml::MessageOf([] { throw ETokenException(0x26); }),
              QStringLiteral("Error reading formula, Token Id: 0x26 is not supported"));
    // An Exp pushed off the sheet cannot become an error.
    EXPECT_EQ(token(B({0x01}) + Le16(65535) + Le16(0)), 0x01);
    EXPECT_EQ(Walked(B({0x01}) + Le16(6) + Le16(4), TMove{5, 2, 0, 0, 0, 0}), B({0x01}) + Le16(8) + Le16(4));

    // Every token cut short, or whose own length runs past the array.
    const QByteArray whole[] = {Ref(1, 1),         Area(1, 2, 3, 4),       Ref3D(0, 1, 1),
                                Area3D(0, 1, 2, 3, 4), B({0x2C}) + Le32(0), B({0x2D}) + QByteArray(8, 0),
                                B({0x23}) + Le32(1), B({0x39}) + QByteArray(6, 0), B({0x20}) + QByteArray(7, 0),
                                B({0x17, 3, 1}) + QByteArray(6, 'a'), B({0x19, 0x04}) + Le16(1) + Le32(0),
                                B({0x1F}) + QByteArray(8, 0), B({0x22, 1, 1, 0}), B({0x21, 1, 0}),
                                B({0x1E, 1, 0}), B({0x1C, 7}), B({0x01}) + Le32(0), B({0x02}) + Le32(0)};
    for (const QByteArray &w : whole) {
        EXPECT_EQ(token(w), -1) << w.toHex().toStdString();
        for (int n = 1; n < w.size(); ++n)
            EXPECT_EQ(token(w.left(n)), uint8_t(w[0])) << w.toHex().toStdString() << " cut at " << n;
    }
    EXPECT_EQ(token(B({0x17, 4, 0, 'a', 'b', 'c'})), 0x17);
    EXPECT_EQ(token(B({0x19, 0x04}) + Le16(3) + Le32(0) + Le16(0)), 0x19);
}

TEST(TokenWalker, MemberFunctionTokenOfEveryClassIsWalked)
{
    // A member-function token heads the reference it guards; the walk steps over its 3 bytes
    // in each of the reference, value and array classes, and moves the reference after it.
    for (int token : {0x29, 0x49, 0x69}) {
        const QByteArray head = B({token, 5, 0});
        EXPECT_EQ(Walked(head + Ref(7, 3), {5, 2, 0, 0, 0, 0}), head + Ref(9, 3)) << token;
    }
}
