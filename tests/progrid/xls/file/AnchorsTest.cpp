// Pixel boxes to cell anchors and back, on a sheet of 56-pixel columns (2048 units) and 20-pixel
// rows (300 twips). Expected offsets are worked out by hand: 1/1024 of a column, 1/255 of a row.
#include "FileFixture.h"

#include "xlsAdapter/file/duzUXlsAnchors.h"

using namespace xfile;

namespace {

struct GridSheet : Connected
{
    GridSheet()
    {
        F.NewFile(1);
        for (int32_t c = 1; c <= 256; ++c)
            F.SetColumnWidth(c, 2048);
        for (int32_t r = 1; r <= 40; ++r)
            F.SetRowHeight(r, 300);
    }
};

std::vector<int> Fields(const TImageProperties &p)
{
    return {p.Col1, p.dx1, p.Row1, p.dy1, p.Col2, p.dx2, p.Row2, p.dy2};
}

// Every column and row of size 0, also the ones beyond the sheet's last.
class ZeroSizes : public TExcelFile
{
public:
    int32_t GetColumnWidthHiddenIsZero(int32_t) override { return 0; }
    bool IsEmptyRow(int32_t) override { return true; }
    int32_t DefaultRowHeight() override { return 0; }
    int32_t GetRowHeight(int32_t) override { return 0; }
};

} // namespace

TEST(Anchors, PixelBoxToAnchor)
{
    GridSheet s;
    const struct
    {
        const char *What;
        int32_t Row, Col;
        double Width, Height;
        int32_t DX, DY;
        std::vector<int> Expected; // Col1, dx1, Row1, dy1, Col2, dx2, Row2, dy2
    } cases[] = {
        {"one cell exactly", 1, 1, 56, 20, 0, 0, {1, 0, 1, 0, 1, 1024, 1, 255}},
        // 50 * 1024 / 56 = 914.29; ends 4 px into column 2: 4 / 56 * 1024 = 73.14.
        {"across a column edge", 1, 1, 10, 20, 50, 0, {1, 914, 1, 0, 2, 73, 1, 255}},
        // 6 * 255 / 20 = 76.5 goes to the even 76; the box ends 6 px into row 2 the same way.
        {"half offset to even", 1, 1, 56, 20, 0, 6, {1, 0, 1, 76, 1, 1024, 2, 76}},
        // 70 px right of B3 is 14 px into D3: 256; 25 px below is 5 px into row 4: 63.75.
        {"starts in a later cell", 3, 2, 28, 10, 70, 25, {3, 256, 4, 64, 3, 768, 4, 191}},
    };
    for (const auto &x : cases)
        EXPECT_EQ(Fields(PlaceBox(&s.F, x.Row, x.Col, x.Width, x.Height, x.DX, x.DY)), x.Expected) << x.What;

    // Three columns from column 255 would end in 257: the box is pushed back by one column.
    const TImageProperties p = PlaceBox(&s.F, 1, 255, 168, 20, 0, 0);
    EXPECT_EQ(p.Col1, 254);
    EXPECT_EQ(p.Col2, 256);
    EXPECT_EQ(p.Row2, 1);
}

TEST(Anchors, AnchorToPixels)
{
    GridSheet s;
    const struct
    {
        const char *What;
        TClientAnchor Anchor; // Flag, Col1, Dx1, Row1, Dy1, Col2, Dx2, Row2, Dy2
        int Width, Height;
        double OffsetX, OffsetY;
    } cases[] = {
        {"half a column", {0, 3, 0, 2, 0, 3, 512, 2, 255}, 28, 20, 0, 0},
        // 2 * 56 - 28 + 14 = 98 wide; 20 - 4 + 8 = 24 high.
        {"over cells", {0, 1, 512, 1, 51, 3, 256, 2, 102}, 98, 24, 28, 4},
        // 56 * 100 / 1024 = 5.47 in, 56 * 300 / 1024 = 16.41 out: 66.94 -> 67.
        {"rounded", {0, 1, 100, 1, 0, 2, 300, 1, 255}, 67, 20, 56.0 * 100 / 1024, 0},
    };
    for (const auto &x : cases) {
        const TAnchorPixels p = AnchorToPixels(&s.F, x.Anchor);
        EXPECT_EQ(p.Width, x.Width) << x.What;
        EXPECT_EQ(p.Height, x.Height) << x.What;
        EXPECT_DOUBLE_EQ(p.OffsetX, x.OffsetX) << x.What;
        EXPECT_DOUBLE_EQ(p.OffsetY, x.OffsetY) << x.What;
    }
    // A placed box measures back to its size.
    const TImageProperties b = PlaceBox(&s.F, 2, 2, 130, 45, 13, 7);
    const TClientAnchor a{0, uint16_t(b.Col1), uint16_t(b.dx1), uint16_t(b.Row1), uint16_t(b.dy1),
                          uint16_t(b.Col2), uint16_t(b.dx2), uint16_t(b.Row2), uint16_t(b.dy2)};
    const TAnchorPixels p = AnchorToPixels(&s.F, a);
    EXPECT_EQ(p.Width, 130);
    EXPECT_EQ(p.Height, 45);
    EXPECT_NEAR(p.OffsetX, 13, 0.05);
    EXPECT_NEAR(p.OffsetY, 7, 0.05);
}

TEST(Anchors, CellsOfSizeZero)
{
    GridSheet s;
    s.F.SetColumnHidden(2, true);
    s.F.SetRowHeight(2, 0);
    const struct
    {
        const char *What;
        int32_t Row, Col;
        double Width, Height;
        int32_t DX, DY;
        std::vector<int> Expected;
    } cases[] = {
        // Starting in hidden column B: offset 0, 10 px into C: 182.86.
        {"starts in a hidden column", 1, 2, 10, 20, 0, 0, {2, 0, 1, 0, 3, 183, 1, 255}},
        // Row 2 has no height: starts at its top, 10 px into row 3: 127.5 -> 128.
        {"starts in an empty row", 2, 1, 56, 10, 0, 0, {1, 0, 2, 0, 1, 1024, 3, 128}},
        // 60 px from A: over the hidden B, 4 px into C.
        {"walks over the hidden column", 1, 1, 20, 20, 60, 0, {3, 73, 1, 0, 3, 439, 1, 255}},
    };
    for (const auto &x : cases)
        EXPECT_EQ(Fields(PlaceBox(&s.F, x.Row, x.Col, x.Width, x.Height, x.DX, x.DY)), x.Expected) << x.What;

    // No size anywhere: the walks stop at the sheet's edges and every offset stays in range.
    ZeroSizes z;
    const TImageProperties p = PlaceBox(&z, 1, 1, 10, 10, 5, 5);
    EXPECT_EQ(Fields(p), (std::vector<int>{1, 0, 1, 0, 256, 0, 65536, 0}));
    const TAnchorPixels q = AnchorToPixels(&z, TClientAnchor{0, 1, 1024, 1, 255, 256, 1024, 65535, 255});
    EXPECT_EQ(q.Width, 0);
    EXPECT_EQ(q.Height, 0);
}

TEST(Anchors, WithoutAFile)
{
    EXPECT_EQ(ole::MessageOf([] { PlaceBox(nullptr, 1, 1, 10, 10, 0, 0); }), QStringLiteral("There is no open file"));
    EXPECT_EQ(ole::MessageOf([] { AnchorToPixels(nullptr, TClientAnchor()); }),
              QStringLiteral("There is no open file"));
}
