#include "framework/charts/Chart.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>

namespace {
bool isBlue(QColor c) { return c.blue() > 180 && c.red() < 90 && c.green() < 90; }
bool isRed(QColor c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; }
// A thin line may fall a pixel beside the rounded position.
bool redNear(const QImage &img, TPoint p)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (isRed(img.pixelColor(p.X + dx, p.Y + dy)))
                return true;
    return false;
}
} // namespace

TEST(Chart, RendersBluePointsAndRedLineOffscreen)
{
    TChart chart;
    chart.SetTitle("Observed and expected");
    chart.BottomAxis()->SetTitle("Sites");
    chart.LeftAxis()->SetTitle("Species");
    auto *points = chart.AddSeries(std::make_unique<TPointSeries>());
    auto *line = chart.AddSeries(std::make_unique<TLineSeries>());
    EXPECT_EQ(points->SeriesColor(), clBlue);
    EXPECT_EQ(line->SeriesColor(), clRed);
    const double xs[] = {1, 2, 3, 4, 5}, ys[] = {5, 9, 4, 12, 7};
    for (int i = 0; i < 5; ++i) {
        points->AddXY(xs[i], ys[i]);
        line->AddXY(xs[i], 2 * xs[i] + 1);
    }
    EXPECT_EQ(chart.SeriesCount(), 2);
    EXPECT_EQ(chart.SeriesList(0)->Count(), 5);

    QImage img = chart.RenderToImage(400, 300);
    ASSERT_EQ(img.size(), QSize(400, 300));
    // The automatic ranges cover the data.
    EXPECT_LT(chart.BottomAxis()->Minimum(), 1);
    EXPECT_GT(chart.BottomAxis()->Maximum(), 5);
    EXPECT_LT(chart.LeftAxis()->Minimum(), 3);
    EXPECT_GT(chart.LeftAxis()->Maximum(), 12);
    // Every point lands where its values map to, in blue; the line passes its midpoints in red.
    for (int i = 0; i < 5; ++i) {
        TPoint at = chart.PointPosition(0, xs[i], ys[i]);
        EXPECT_TRUE(isBlue(img.pixelColor(at.X, at.Y))) << i << " at " << at.X << "," << at.Y;
        TPoint mid = chart.PointPosition(1, xs[i] + 0.5, 2 * (xs[i] + 0.5) + 1);
        if (i < 4) {
            EXPECT_TRUE(redNear(img, mid)) << i << " at " << mid.X << "," << mid.Y;
        }
    }
    TPoint empty = chart.PointPosition(0, 1.5, 11);
    EXPECT_FALSE(isBlue(img.pixelColor(empty.X, empty.Y)));
    EXPECT_FALSE(redNear(img, empty));

    chart.Clear();
    EXPECT_EQ(points->Count(), 0);
    EXPECT_THROW(chart.LeftAxis()->SetMinMax(5, 1), EInvalidOperation);
}

TEST(Chart, ControlPaintsItsChartWhenGrabbed)
{
    TChart chart;
    chart.SetBounds(0, 0, 320, 240);
    auto *points = chart.AddSeries(std::make_unique<TPointSeries>());
    auto *line = chart.AddSeries(std::make_unique<TLineSeries>());
    for (int x = 0; x <= 4; ++x) {
        points->AddXY(x, x % 2 ? 8 : 2);
        line->AddXY(x, 2 * x - 1);
    }
    QImage img = chart.Widget()->grab().toImage();
    ASSERT_EQ(img.size(), QSize(320, 240));
    for (int x = 0; x <= 4; ++x) {
        TPoint at = chart.PointPosition(0, x, x % 2 ? 8 : 2);
        EXPECT_TRUE(isBlue(img.pixelColor(at.X, at.Y))) << x;
    }
    EXPECT_TRUE(redNear(img, chart.PointPosition(1, 2.5, 4)));
    EXPECT_FALSE(redNear(img, chart.PointPosition(1, 0.5, 7)));

    // A series change shows on the next paint.
    auto bluePixels = [](const QImage &im) {
        int n = 0;
        for (int y = 0; y < im.height(); ++y)
            for (int x = 0; x < im.width(); ++x)
                n += isBlue(im.pixelColor(x, y));
        return n;
    };
    EXPECT_GT(bluePixels(img), 0);
    points->Clear();
    EXPECT_EQ(bluePixels(chart.Widget()->grab().toImage()), 0);
}

TEST(Chart, PointsOutsideAFixedRangeAreNotDrawn)
{
    TChart chart;
    auto *points = chart.AddSeries(std::make_unique<TPointSeries>());
    chart.BottomAxis()->SetMinMax(0, 10);
    chart.LeftAxis()->SetMinMax(0, 10);
    // Many points on one row inside the range, and one far outside it.
    for (int k = 0; k <= 20000; ++k) points->AddXY(1 + 8.0 * k / 20000, 5);
    points->AddXY(50, 50);
    QImage img = chart.RenderToImage(400, 300);
    for (double x : {1.0, 3.0, 9.0}) {
        TPoint at = chart.PointPosition(0, x, 5);
        EXPECT_TRUE(isBlue(img.pixelColor(at.X, at.Y))) << x;
    }
    TPoint below = chart.PointPosition(0, 5, 2);
    EXPECT_FALSE(isBlue(img.pixelColor(below.X, below.Y)));
    // Nothing blue beyond the plot's right edge (where x = 50 would map).
    TPoint edge = chart.PointPosition(0, 10, 10);
    int blue = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = edge.X + 2; x < img.width(); ++x) blue += isBlue(img.pixelColor(x, y));
    EXPECT_EQ(blue, 0);
}

TEST(Chart, MarkersTakeTheirSeriesShapeAndLinesShowThemOnlyWhenAsked)
{
    TChart chart;
    auto *points = static_cast<TPointSeries *>(chart.AddSeries(std::make_unique<TPointSeries>()));
    auto *line = static_cast<TLineSeries *>(chart.AddSeries(std::make_unique<TLineSeries>()));
    chart.BottomAxis()->SetMinMax(0, 10);
    chart.LeftAxis()->SetMinMax(0, 10);
    points->SetPointerSize(4);
    points->AddXY(3, 5);
    line->SetLinePenWidth(1);
    line->SetLinePenStyle(psDot);
    line->AddXY(7, 2);  // a lone point: no line, only a marker if markers are shown
    line->AddXY(7, 2);

    // Square markers fill their corners; circles leave them.
    QImage img = chart.RenderToImage(400, 300);
    TPoint p = chart.PointPosition(0, 3, 5);
    EXPECT_TRUE(isBlue(img.pixelColor(p.X + 4, p.Y + 4)));
    points->SetPointerStyle(psCircle);
    img = chart.RenderToImage(400, 300);
    EXPECT_TRUE(isBlue(img.pixelColor(p.X, p.Y)));
    EXPECT_TRUE(isBlue(img.pixelColor(p.X + 4, p.Y)));
    EXPECT_FALSE(isBlue(img.pixelColor(p.X + 4, p.Y + 4)));

    TPoint q = chart.PointPosition(1, 7, 2);
    EXPECT_FALSE(isRed(img.pixelColor(q.X + 2, q.Y + 2)));
    line->SetPointerVisible(true);
    line->SetPointerSize(2);
    img = chart.RenderToImage(400, 300);
    EXPECT_TRUE(isRed(img.pixelColor(q.X + 2, q.Y + 2)));
}
