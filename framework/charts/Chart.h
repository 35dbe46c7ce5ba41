#pragma once
// Charts of point and line series over Qt Charts.
#include "framework/controls/Controls.h"
#include "framework/graphics/Graphics.h"
#include <QImage>
#include <QString>
#include <memory>
#include <vector>

class TChart;
class QChart;

enum TSeriesPointerStyle { psRectangle, psCircle };

class TChartSeries : public TObject
{
public:
    const QString &Title() const { return title_; }
    void SetTitle(const QString &v) { title_ = v; }
    TColor SeriesColor() const { return color_; }
    void SetSeriesColor(TColor v) { color_ = v; }
    TChart *ParentChart() const { return chart_; }
    // Markers at the data points: point series show them, line series only when asked.
    bool PointerVisible() const { return pointerVisible_; }
    void SetPointerVisible(bool v) { pointerVisible_ = v; changed(); }
    TSeriesPointerStyle PointerStyle() const { return pointerStyle_; }
    void SetPointerStyle(TSeriesPointerStyle v) { pointerStyle_ = v; changed(); }
    // Half the marker's width: a marker spans 2 * PointerSize + 1 pixels.
    int PointerSize() const { return pointerSize_; }
    void SetPointerSize(int v) { pointerSize_ = std::max(1, v); changed(); }

    // Returns the index of the new point. Changes repaint the chart.
    int AddXY(double X, double Y, const QString &Label = QString());
    void Clear();
    int Count() const { return int(x_.size()); }
    double XValue(int Index) const { return x_.at(size_t(Index)); }
    double YValue(int Index) const { return y_.at(size_t(Index)); }

protected:
    TChartSeries(TColor color, bool pointerVisible) : color_(color), pointerVisible_(pointerVisible) {}
    void changed();
    friend class TChart;
    TChart *chart_ = nullptr;

private:
    QString title_;
    TColor color_;
    bool pointerVisible_;
    TSeriesPointerStyle pointerStyle_ = psRectangle;
    int pointerSize_ = 4;
    std::vector<double> x_, y_;
    std::vector<QString> labels_;
};

// Unconnected points, blue by default.
class TPointSeries : public TChartSeries
{
public:
    TPointSeries() : TChartSeries(clBlue, true) {}
};

// Points joined in order, red by default.
class TLineSeries : public TChartSeries
{
public:
    TLineSeries() : TChartSeries(clRed, false) {}
    int LinePenWidth() const { return penWidth_; }
    void SetLinePenWidth(int v) { penWidth_ = std::max(1, v); changed(); }
    TPenStyle LinePenStyle() const { return penStyle_; }
    void SetLinePenStyle(TPenStyle v) { penStyle_ = v; changed(); }

private:
    int penWidth_ = 2;
    TPenStyle penStyle_ = psSolid;
};

class TChartAxis : public TObject
{
public:
    const QString &Title() const { return title_; }
    void SetTitle(const QString &v) { title_ = v; }
    // Automatic axes span the data of every series.
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool v) { automatic_ = v; }
    double Minimum() const { return min_; }
    double Maximum() const { return max_; }
    // Fixes the range (and turns Automatic off); raises EInvalidOperation when Min > Max.
    void SetMinMax(double Min, double Max);

private:
    friend class TChart;
    QString title_;
    bool automatic_ = true;
    double min_ = 0, max_ = 0;
};

// A control that paints its chart; Draw and RenderToImage also paint it elsewhere.
class TChart : public TCustomControl
{
public:
    explicit TChart(TComponent *AOwner = nullptr);
    ~TChart() override;

    const QString &Title() const { return title_; }
    void SetTitle(const QString &v);
    TChartAxis *BottomAxis() { return &bottom_; }
    TChartAxis *LeftAxis() { return &left_; }
    bool LegendVisible() const { return legend_; }
    void SetLegendVisible(bool v);

    // The chart takes the series over and returns it.
    TChartSeries *AddSeries(std::unique_ptr<TChartSeries> Series);
    int SeriesCount() const { return int(series_.size()); }
    TChartSeries *SeriesList(int Index) const { return series_.at(size_t(Index)).get(); }
    void RemoveAllSeries();
    // Empties every series.
    void Clear();

    // Draws the chart into an image of the given size.
    QImage RenderToImage(int Width, int Height);
    void Draw(TCanvas *Canvas, const TRect &R);
    // Device position of a data point of a series in the last rendering.
    TPoint PointPosition(int SeriesIndex, double X, double Y) const;

protected:
    void Paint() override;

private:
    void rebuild();
    QString title_;
    TChartAxis bottom_, left_;
    bool legend_ = false;
    std::vector<std::unique_ptr<TChartSeries>> series_;
    std::unique_ptr<QChart> chart_;
    TPoint origin_;
};
