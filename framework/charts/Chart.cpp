#include "framework/charts/Chart.h"
#include <QChart>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

int TChartSeries::AddXY(double X, double Y, const QString &Label)
{
    x_.push_back(X);
    y_.push_back(Y);
    labels_.push_back(Label);
    changed();
    return Count() - 1;
}

void TChartSeries::Clear()
{
    x_.clear();
    y_.clear();
    labels_.clear();
    changed();
}

void TChartSeries::changed()
{
    if (chart_)
        chart_->Invalidate();
}

void TChartAxis::SetMinMax(double Min, double Max)
{
    if (!(Min <= Max))
        throw EInvalidOperation(QStringLiteral("Axis minimum %1 is greater than maximum %2").arg(Min).arg(Max));
    min_ = Min;
    max_ = Max;
    automatic_ = false;
}

TChart::TChart(TComponent *AOwner) : TCustomControl(AOwner)
{
    SetColor(clWhite);
}

TChart::~TChart() = default;

void TChart::SetTitle(const QString &v)
{
    title_ = v;
    Invalidate();
}

void TChart::SetLegendVisible(bool v)
{
    legend_ = v;
    Invalidate();
}

TChartSeries *TChart::AddSeries(std::unique_ptr<TChartSeries> Series)
{
    Series->chart_ = this;
    series_.push_back(std::move(Series));
    Invalidate();
    return series_.back().get();
}

void TChart::RemoveAllSeries()
{
    series_.clear();
    Invalidate();
}

void TChart::Clear()
{
    for (auto &s : series_)
        s->Clear();
}

void TChart::Paint()
{
    Draw(Canvas(), ClientRect());
}

namespace {

// Range of the data along one axis, widened a little so that points are not on the frame.
std::pair<double, double> dataRange(const std::vector<std::unique_ptr<TChartSeries>> &series, bool xAxis)
{
    double lo = INFINITY, hi = -INFINITY;
    for (const auto &s : series)
        for (int i = 0; i < s->Count(); ++i) {
            double v = xAxis ? s->XValue(i) : s->YValue(i);
            if (std::isfinite(v)) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    if (lo > hi)
        return {0, 1};
    if (lo == hi)
        return {lo - 1, hi + 1};
    double pad = (hi - lo) * 0.05;
    return {lo - pad, hi + pad};
}

} // namespace

void TChart::rebuild()
{
    chart_ = std::make_unique<QChart>();
    QChart *c = chart_.get();
    c->setTitle(title_);
    c->legend()->setVisible(legend_);
    c->setAnimationOptions(QChart::NoAnimation);
    c->setBackgroundRoundness(0);
    auto *ax = new QValueAxis;
    auto *ay = new QValueAxis;
    ax->setTitleText(bottom_.title_);
    ay->setTitleText(left_.title_);
    c->addAxis(ax, Qt::AlignBottom);
    c->addAxis(ay, Qt::AlignLeft);
    for (const auto &s : series_) {
        QXYSeries *qs = nullptr;
        if (dynamic_cast<TPointSeries *>(s.get())) {
            // Only the axes: Draw paints the markers itself, since a scatter series makes one
            // scene item per point and thousands of points would take seconds to draw.
            auto *sc = new QScatterSeries;
            sc->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
            sc->setColor(ColorToQColor(s->SeriesColor()));
            qs = sc;
            qs->setName(s->Title());
            c->addSeries(qs);
            qs->attachAxis(ax);
            qs->attachAxis(ay);
            continue;
        } else {
            auto *ls = new QLineSeries;
            QPen pen(ColorToQColor(s->SeriesColor()));
            auto *line = dynamic_cast<TLineSeries *>(s.get());
            pen.setWidth(line ? line->LinePenWidth() : 2);
            pen.setStyle(line ? PenStyleToQt(line->LinePenStyle()) : Qt::SolidLine);
            ls->setPen(pen);
            qs = ls;
        }
        qs->setName(s->Title());
        for (int i = 0; i < s->Count(); ++i)
            qs->append(s->XValue(i), s->YValue(i));
        c->addSeries(qs);
        qs->attachAxis(ax);
        qs->attachAxis(ay);
    }
    auto [x0, x1] = bottom_.automatic_ ? dataRange(series_, true) : std::make_pair(bottom_.min_, bottom_.max_);
    auto [y0, y1] = left_.automatic_ ? dataRange(series_, false) : std::make_pair(left_.min_, left_.max_);
    if (x0 == x1) x1 = x0 + 1;
    if (y0 == y1) y1 = y0 + 1;
    ax->setRange(x0, x1);
    ay->setRange(y0, y1);
    if (bottom_.automatic_) { bottom_.min_ = x0; bottom_.max_ = x1; }
    if (left_.automatic_) { left_.min_ = y0; left_.max_ = y1; }
}

QImage TChart::RenderToImage(int Width, int Height)
{
    QImage img(std::max(1, Width), std::max(1, Height), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    TCanvas canvas;
    canvas.AttachPainter(&p);
    Draw(&canvas, Rect(0, 0, img.width(), img.height()));
    canvas.DetachPainter();
    return img;
}

void TChart::Draw(TCanvas *Canvas, const TRect &R)
{
    QPainter *p = Canvas ? Canvas->Painter() : nullptr;
    if (!p || !p->isActive() || R.IsEmpty())
        return;
    rebuild();
    QGraphicsScene scene;
    scene.addItem(chart_.get());
    chart_->setGeometry(0, 0, R.Width(), R.Height());
    scene.setSceneRect(0, 0, R.Width(), R.Height());
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    scene.render(p, QRectF(R.Left, R.Top, R.Width(), R.Height()), QRectF(0, 0, R.Width(), R.Height()));
    // Markers: filled squares or circles of 2 * PointerSize + 1 pixels in the plot area.
    const QRectF plot = chart_->plotArea().translated(R.Left, R.Top);
    p->setClipRect(plot);
    p->setPen(Qt::NoPen);
    for (size_t i = 0; i < series_.size(); ++i) {
        const TChartSeries *s = series_[i].get();
        if (!s->PointerVisible() || s->Count() == 0) continue;
        QAbstractSeries *qs = chart_->series().at(int(i));
        p->setBrush(ColorToQColor(s->SeriesColor()));
        const int half = s->PointerSize();
        const bool circle = s->PointerStyle() == psCircle;
        for (int k = 0; k < s->Count(); ++k) {
            if (!std::isfinite(s->XValue(k)) || !std::isfinite(s->YValue(k))) continue;
            const QPointF at = chart_->mapToPosition(QPointF(s->XValue(k), s->YValue(k)), qs);
            const int x = R.Left + int(std::lround(at.x())), y = R.Top + int(std::lround(at.y()));
            if (circle)
                p->drawEllipse(x - half, y - half, 2 * half + 1, 2 * half + 1);
            else
                p->drawRect(x - half, y - half, 2 * half + 1, 2 * half + 1);
        }
    }
    p->restore();
    // The chart outlives the scene so that positions can still be asked for.
    scene.removeItem(chart_.get());
    origin_ = TPoint(R.Left, R.Top);
}

TPoint TChart::PointPosition(int SeriesIndex, double X, double Y) const
{
    if (!chart_ || SeriesIndex < 0 || SeriesIndex >= int(chart_->series().size()))
        throw EInvalidOperation(QStringLiteral("The chart has not been drawn with series %1").arg(SeriesIndex));
    QPointF pt = chart_->mapToPosition(QPointF(X, Y), chart_->series().at(SeriesIndex));
    return TPoint(origin_.X + int(std::lround(pt.x())), origin_.Y + int(std::lround(pt.y())));
}
