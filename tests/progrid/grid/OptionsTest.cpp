// The grid's option groups and small containers.
#include "GridFixture.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/graphics/Graphics.h"
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

TEST(SortIndexList, EntriesDirectionsAndText)
{
    TSortIndexList l;
    l.AddIndex(2, true);
    l.AddIndex(5, false);
    EXPECT_EQ(l.SaveToString(), "u2;d5");
    EXPECT_EQ(l.FindIndex(5), 1);
    EXPECT_EQ(l.FindIndex(7), -1);
    EXPECT_FALSE(l.GetSortDirections(1));
    l.ToggleIndex(5);
    EXPECT_TRUE(l.GetSortDirections(1));
    l.SetSortDirections(0, false);
    l.SetSortColumns(0, 9);
    EXPECT_EQ(l.GetSortColumns(0), 9);
    EXPECT_FALSE(l.GetSortDirections(0));
    EXPECT_EQ(l.SaveToString(), "d9;u5");

    l.LoadFromString("u3;x;d1;");
    ASSERT_EQ(l.Count(), 2);
    EXPECT_EQ(l.GetSortColumns(0), 3);
    EXPECT_TRUE(l.GetSortDirections(0));
    EXPECT_EQ(l.GetSortColumns(1), 1);
    EXPECT_FALSE(l.GetSortDirections(1));
}

TEST(SortIndexList, WideColumnsRoundTrip)
{
    TSortIndexList l;
    l.AddIndex(70000, false);
    EXPECT_EQ(l.SaveToString(), "d70000");
    TSortIndexList back;
    back.LoadFromString(l.SaveToString());
    EXPECT_EQ(back.GetSortColumns(0), 70000);
    EXPECT_FALSE(back.GetSortDirections(0));
}

TEST(IntList, ValuesTextAndNotifications)
{
    TIntList l(3, 4);
    int changes = 0, col = -1, row = -1;
    l.OnChange = [&](TObject *, int c, int r) {
        ++changes;
        col = c;
        row = r;
    };
    l.Add(1);
    l.Add(20);
    l.Insert(2, 3);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 4);
    EXPECT_EQ(l.StrValue(), "1,20,3");
    l.DeleteValue(20);
    l.DeleteValue(99);
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(l.HasValue(3));
    l.SetStrValue("4, 5");
    EXPECT_EQ(l.StrValue(), "4,5");
    EXPECT_THROW(l.SetStrValue("1,x"), EConvertError);
}

TEST(OptionGroups, SettersAndCopies)
{
    TNavigation nav;
    int navChanges = 0;
    nav.OnChange = [&](TObject *) { ++navChanges; };
    nav.SetAdvanceAuto(true);
    EXPECT_TRUE(nav.AdvanceOnEnter());
    nav.SetAdvanceAuto(false);
    EXPECT_TRUE(nav.AdvanceOnEnter());
    nav.SetAdvanceDirection(adTopBottom);
    nav.SetAdvanceDirection(adTopBottom);
    EXPECT_EQ(navChanges, 1);
    nav.SetKeepScrollOnSort(true);
    nav.SetTabAdvanceDirection(adTopBottom);
    TNavigation copy;
    copy.Assign(&nav);
    EXPECT_TRUE(copy.AdvanceOnEnter());
    EXPECT_EQ(copy.TabAdvanceDirection(), adTopBottom);
    EXPECT_FALSE(copy.KeepScrollOnSort());

    TMouseActions ma;
    bool designing = false;
    ma.OnIsDesigning = [&](TObject *) { return designing; };
    ma.SetDisjunctRowSelect(true);
    ma.SetDisjunctColSelect(true);
    EXPECT_TRUE(ma.DisjunctRowSelect());
    designing = true;
    ma.SetDisjunctCellSelect(true);
    EXPECT_FALSE(ma.DisjunctRowSelect());
    EXPECT_FALSE(ma.DisjunctColSelect());
    int invalidated = 0;
    ma.OnInvalidate = [&](TObject *) { ++invalidated; };
    ma.SetHotmailRowSelect(true);
    EXPECT_TRUE(ma.DisjunctRowSelect());
    EXPECT_TRUE(ma.CheckAllCheck());
    EXPECT_EQ(invalidated, 1);
    TMouseActions ma2;
    ma2.Assign(&ma);
    EXPECT_FALSE(ma2.HotmailRowSelect());
    EXPECT_TRUE(ma2.DisjunctRowSelect());

    TBands bands;
    bands.SetPrimaryLength(3);
    bands.SetSecondaryLength(2);
    TBands b2;
    b2.Assign(&bands);
    EXPECT_EQ(b2.TotalLength(), 5);
    int bandChanges = 0;
    b2.OnChange = [&](TObject *) { ++bandChanges; };
    b2.SetPrimaryColor(clRed);
    EXPECT_EQ(bandChanges, 0);
    b2.SetActive(true);
    b2.SetPrimaryColor(clBlue);
    EXPECT_EQ(bandChanges, 2);

    TSearchFooter designed(nullptr, true), stored(nullptr, false);
    EXPECT_EQ(designed.FindNextCaption(), "Find &next");
    EXPECT_EQ(designed.HintHighlight(), "Highlight occurrences");
    EXPECT_EQ(stored.FindNextCaption(), "");
    designed.SetAutoSearch(false);
    designed.SetSearchFixedCells(true);
    designed.SetSearchColumn(3);
    stored.Assign(&designed);
    EXPECT_EQ(stored.MatchCaseCaption(), "Match case");
    EXPECT_EQ(stored.SearchColumn(), 3);
    EXPECT_TRUE(stored.AutoSearch());
    EXPECT_FALSE(stored.SearchFixedCells());

    TShowModified sm;
    EXPECT_EQ(sm.Color(), clYellow);
}

TEST(OptionGroups, GridCopiesWhatItIsGiven)
{
    TTestGrid g, other;
    g.SyncGrid()->SetGrid(&g);
    EXPECT_EQ(g.SyncGrid()->Grid(), nullptr);
    TBands bands;
    bands.SetActive(true);
    g.SetBands(&bands);
    EXPECT_TRUE(g.Bands()->Active());
    EXPECT_NE(g.Bands(), &bands);
    const int before = g.Invalidates;
    g.Bands()->SetSecondaryLength(4);
    EXPECT_GT(g.Invalidates, before);
}

TEST(SmallContainers, ControlListAndFileStringList)
{
    TControlList list;
    TPanel a(nullptr), b(nullptr);
    list.AddControl(1, 2, &a);
    list.AddControl(3, 4, &b);
    EXPECT_EQ(list.ControlIndex(3, 4), 1);
    EXPECT_EQ(list.ControlIndex(0, 0), -1);
    EXPECT_TRUE(list.HasHandle(b.Handle()));
    list.RemoveControl(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetControl(0)->FObject, &b);

    TFileStringList f;
    f.Write("a");
    f.WriteLn("b");
    f.WriteLn("c");
    f.Reset();
    QString s;
    f.ReadLn(s);
    EXPECT_EQ(s, "ab");
    EXPECT_FALSE(f.Eof());
    f.ReadLn(s);
    EXPECT_TRUE(f.Eof());
}

TEST(SmallContainers, FilePictureLoadsOnDemand)
{
    QTemporaryDir dir;
    const QString name = QDir(dir.path()).filePath("p.bmp");
    QImage img(6, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(name, "BMP"));
    TFilePicture p;
    p.SetFilename(name);
    EXPECT_EQ(p.Width(), 6);
    EXPECT_EQ(p.Height(), 4);
    TFilePicture copy;
    copy.Assign(&p);
    EXPECT_EQ(copy.Filename(), name);
    EXPECT_EQ(copy.Height(), 4);

    TBitmap canvasBmp(20, 20);
    canvasBmp.Canvas()->Brush()->SetColor(clWhite);
    canvasBmp.Canvas()->FillRect(TRect(0, 0, 20, 20));
    p.DrawPicture(canvasBmp.Canvas(), TRect(0, 0, 12, 8));
    EXPECT_EQ(canvasBmp.Canvas()->Pixels(5, 5), clRed);
    // A file gone since draws nothing, and painting goes on.
    QFile::remove(name);
    canvasBmp.Canvas()->FillRect(TRect(0, 0, 20, 20));
    EXPECT_NO_THROW(p.DrawPicture(canvasBmp.Canvas(), TRect(0, 0, 12, 8)));
    EXPECT_EQ(canvasBmp.Canvas()->Pixels(5, 5), clWhite);
    EXPECT_THROW(p.SetFilename(name), Exception);
}
