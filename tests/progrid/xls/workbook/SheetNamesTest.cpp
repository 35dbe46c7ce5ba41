// Sheet names: legal names, unique names for new sheets, the sorted index and the BOUNDSHEET list.
#include "GlobalsFixture.h"

using namespace glob;

namespace {

QStringList NamesOf(const TSheetNameList &L)
{
    QStringList r;
    for (int i = 0; i < L.Count(); ++i)
        r << L.Items(i)->FullName();
    return r;
}

} // namespace

TEST(SheetNames, MakeValidSheetName)
{
    const struct
    {
        QString in, out;
    } cases[] = {
        {"a/b:c?", "a_b.c_"},
        {"x\\y[z]*", "x_y_z__"},
        {"Plain", "Plain"},
        // cut to 31 first: the ':' at position 35 never becomes '.'
        {QString(34, u'k') + ":xyzw", QString(31, u'k')},
        {QString(30, u'k') + "/abc", QString(30, u'k') + "_"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TSheetNameList::MakeValidSheetName(c.in), c.out) << c.in.toStdString();
}

TEST(SheetNames, UniqueNamesAndOrder)
{
    TSheetNameList L;
    L.Add("Sheet");
    EXPECT_EQ(L.AddUniqueName("Sheet"), "Sheet1");
    EXPECT_EQ(L.AddUniqueName("Sheet"), "Sheet2");
    EXPECT_EQ(L.AddUniqueName("Data"), "Data");
    L.Add("Sheet10");
    // shorter first, then by code unit
    EXPECT_EQ(NamesOf(L), QStringList({"Data", "Sheet", "Sheet1", "Sheet2", "Sheet10"}));
    int32_t i = 0;
    EXPECT_TRUE(L.FindFullString("Sheet10", i));
    EXPECT_EQ(i, 4);
    EXPECT_FALSE(L.FindFullString("Sheet3", i));
    EXPECT_EQ(i, 4);
    // case-sensitive: another name
    L.Add("sheet1");
    EXPECT_EQ(MessageOf([&] { L.Add("Sheet2"); }), "Sheet name already exists: Sheet2");
}

TEST(SheetNames, UniqueNameNeverRepeatsAName)
{
    // "Sheet1" is stored as root Sheet with suffix 1: a root search for "Sheet1" cannot see it.
    TSheetNameList L;
    L.Add("Sheet");
    L.AddUniqueName("Sheet");
    L.Add("AAAAAA");
    EXPECT_EQ(L.AddUniqueName("Sheet1"), "Sheet11");
    EXPECT_EQ(L.AddUniqueName("Zed"), "Zed");
    const QStringList names = NamesOf(L);
    EXPECT_EQ(names, QStringList({"Zed", "Sheet", "AAAAAA", "Sheet1", "Sheet11"}));
}

TEST(SheetNames, RenameAndDelete)
{
    TSheetNameList L;
    L.Add("Sheet1");
    L.Add("Sheet2");
    L.Rename("Sheet1", "Sheet1");
    EXPECT_EQ(MessageOf([&] { L.Rename("Sheet1", "Sheet2"); }), "Sheet name already exists: Sheet2");
    EXPECT_EQ(NamesOf(L), QStringList({"Sheet1", "Sheet2"}));
    EXPECT_FALSE(MessageOf([&] { L.Rename("Nope", "Other"); }).isEmpty());
    EXPECT_FALSE(MessageOf([&] { L.DeleteSheet("Nope"); }).isEmpty());
    EXPECT_EQ(NamesOf(L), QStringList({"Sheet1", "Sheet2"}));
    L.Rename("Sheet1", "A");
    L.DeleteSheet("Sheet2");
    EXPECT_EQ(NamesOf(L), QStringList({"A"}));
}

TEST(SheetNames, BoundSheetList)
{
    TBoundSheetList S;
    S.Add(Make<TBoundSheetRecord>(0x85, Le32(0) + Le16(0) + B({6, 0}) + "Sheet1").release());
    std::unique_ptr<TBoundSheetRecord> dup(Make<TBoundSheetRecord>(0x85, Le32(0) + Le16(0) + B({6, 0}) + "Sheet1"));
    EXPECT_EQ(MessageOf([&] { S.Add(dup.get()); }), "Sheet name already exists: Sheet1");
    EXPECT_EQ(S.BoundSheets().Count(), 1);
    S.InsertSheet(0, 0x0002, "Sheet1");
    S.InsertSheet(2, 0, "Chart");
    EXPECT_EQ(S.BoundSheets().GetSheetName(0), "Sheet11");
    EXPECT_EQ(S.BoundSheets().GetSheetVisible(0), sv_VeryHidden);
    EXPECT_EQ(S.BoundSheets().GetSheetName(2), "Chart");
    // a sheet that cannot be placed leaves no name behind
    EXPECT_FALSE(MessageOf([&] { S.InsertSheet(9, 0, "Lost"); }).isEmpty());
    int32_t i = 0;
    EXPECT_FALSE(S.SheetNames().FindFullString("Lost", i));
    EXPECT_EQ(S.TotalSize(), 19 + 18 + 17);
    EXPECT_EQ(S.TotalRangeSize(1), 18);
    const QString bad = "Sheet number \"3\" invalid. Must be between 0 and 2";
    EXPECT_EQ(MessageOf([&] { S.TotalRangeSize(3); }), bad);
    EXPECT_EQ(MessageOf([&] { Written([&](TOle2File &f) { S.SaveRangeToStream(&f, 3); }); }), bad);
    EXPECT_EQ(Written([&](TOle2File &f) { S.SaveRangeToStream(&f, 1); }), BoundSheet("Sheet1"));
    S.DeleteSheet(0);
    EXPECT_TRUE(S.SheetNames().FindFullString("Chart", i));
    EXPECT_FALSE(S.SheetNames().FindFullString("Sheet11", i));
    EXPECT_EQ(Written([&](TOle2File &f) { S.SaveToStream(&f); }), BoundSheet("Sheet1") + BoundSheet("Chart"));
}

TEST(SheetNames, RecordListNameAndVisibility)
{
    TBoundSheetRecordList L;
    L.Add(TBoundSheetRecord::CreateNew(0x0100, "A"));
    EXPECT_EQ(L.GetTotalSize(), 4 + 9);
    L.SetSheetName(0, "Longer");
    EXPECT_EQ(L.GetTotalSize(), 4 + 14);
    const struct
    {
        int flags;
        TXlsSheetVisible v;
    } reads[] = {{0, sv_Visible}, {1, sv_Hidden}, {2, sv_VeryHidden}, {3, sv_Visible}};
    for (const auto &r : reads) {
        L.Items(0)->SetOptionFlags(0x0100 | r.flags);
        EXPECT_EQ(L.GetSheetVisible(0), r.v) << r.flags;
    }
    L.SetSheetVisible(0, sv_Hidden);
    EXPECT_EQ(L.Items(0)->OptionFlags(), 0x0101);
    L.SetSheetVisible(0, sv_VeryHidden);
    EXPECT_EQ(L.Items(0)->OptionFlags(), 0x0102);
    L.SetSheetVisible(0, sv_Visible);
    EXPECT_EQ(L.Items(0)->OptionFlags(), 0x0100);
}
