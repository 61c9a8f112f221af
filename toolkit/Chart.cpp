#include "toolkit/Chart.h"

#include "toolkit/Exception.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QEvent>
#include <QLineSeries>

#include <algorithm>
#include <limits>
#include <string>

TFastLineSeries::TFastLineSeries(TChart& chart, QLineSeries* line)
    : chart_(chart)
    , line_(line)
{
}

void TFastLineSeries::Clear()
{
    points_.clear();
    chart_.DataChanged();
}

int TFastLineSeries::AddXY(double x, double y, const QString& label, TColor color)
{
    // After any equal X values, so that points arriving in ascending X land at the end.
    const auto at = std::upper_bound(points_.begin(), points_.end(), x,
        [](double value, const Point& p) { return value < p.x; });
    const auto index = static_cast<int>(at - points_.begin());
    points_.insert(at, Point { x, y, label, color });
    chart_.DataChanged();
    return index;
}

QColor TFastLineSeries::SeriesColor() const { return line_->color(); }

QLineSeries* TFastLineSeries::LineSeries() const
{
    chart_.Refresh();
    return line_;
}

TChart::TChart(QWidget* parent)
    // Built with its own chart: a chart view made without one creates a default chart
    // that setChart() would later orphan.
    : QChartView(new QChart, parent)
    , chart_(chart())
    , axisX_(new QCategoryAxis)
    , axisY_(new QCategoryAxis)
{
    // The view owns the chart, the chart its series and axes.
    setRenderHint(QPainter::Antialiasing);
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0);

    auto* line = new QLineSeries;
    chart_->addSeries(line);
    for (QCategoryAxis* axis : { axisX_, axisY_ }) {
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axis->setTruncateLabels(false);
        axis->setLabelsColor(Qt::black);
    }
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    line->attachAxis(axisX_);
    line->attachAxis(axisY_);
    series_.push_back(std::unique_ptr<TFastLineSeries>(new TFastLineSeries(*this, line)));
    setSeriesColor(Qt::red);

    scaleX_ = ComputeAxisScale(0, 0, true);
    scaleY_ = scaleX_;
    ApplyScale(axisX_, scaleX_);
    ApplyScale(axisY_, scaleY_);
}

TChart::~TChart() = default;

TFastLineSeries* TChart::GetSeries(int index) const
{
    if (index < 0 || index >= SeriesCount())
        throw Exception("系列 " + std::to_string(index) + " はありません。");
    return series_[static_cast<std::size_t>(index)].get();
}

QPointF TChart::ToDisplay(const TFastLineSeries::Point& point) const
{
    return { ::ToDisplay(point.x, scaleX_.exponent), ::ToDisplay(point.y, scaleY_.exponent) };
}

void TChart::DataChanged()
{
    // The points are already stored; showing them is done once for all the changes made
    // before control returns to the event loop. The refresh event outranks the window's
    // paint request, so no frame shows stale axes.
    if (!refreshPending_) {
        refreshPending_ = true;
        QCoreApplication::postEvent(this, new QEvent(kRefreshEvent), Qt::HighEventPriority);
    }
}

bool TChart::event(QEvent* event)
{
    if (event->type() == kRefreshEvent) {
        Refresh();
        return true;
    }
    return QChartView::event(event);
}

void TChart::Refresh() const
{
    if (!refreshPending_)
        return;
    refreshPending_ = false;
    auto* self = const_cast<TChart*>(this);

    double xlo = std::numeric_limits<double>::infinity(), xhi = -xlo;
    double ylo = xlo, yhi = -xlo;
    bool empty = true;
    for (const auto& s : series_) {
        for (const auto& p : s->points_) {
            xlo = std::min(xlo, p.x);
            xhi = std::max(xhi, p.x);
            ylo = std::min(ylo, p.y);
            yhi = std::max(yhi, p.y);
            empty = false;
        }
    }
    TAxisScale newX = ComputeAxisScale(xlo, xhi, empty);
    TAxisScale newY = ComputeAxisScale(ylo, yhi, empty);
    if (!(newX == scaleX_)) {
        self->scaleX_ = std::move(newX);
        ApplyScale(axisX_, scaleX_);
    }
    if (!(newY == scaleY_)) {
        self->scaleY_ = std::move(newY);
        ApplyScale(axisY_, scaleY_);
    }
    for (const auto& s : series_) {
        QList<QPointF> display;
        display.reserve(static_cast<qsizetype>(s->points_.size()));
        for (const auto& p : s->points_)
            display.append(ToDisplay(p));
        s->line_->replace(display);
    }
}

void TChart::ApplyScale(QCategoryAxis* axis, const TAxisScale& scale)
{
    for (const QString& label : axis->categoriesLabels())
        axis->remove(label);
    axis->setStartValue(scale.min);
    for (const TAxisTick& tick : scale.ticks)
        axis->append(tick.label, tick.position);
    axis->setRange(scale.min, scale.max);
}

QString TChart::title() const { return chart_->title(); }
void TChart::setTitle(const QString& title) { chart_->setTitle(title); }
QColor TChart::backColor() const { return chart_->backgroundBrush().color(); }
void TChart::setBackColor(const QColor& color)
{
    chart_->setBackgroundBrush(color);
    setBackgroundBrush(color);
}
QColor TChart::backWallColor() const { return chart_->plotAreaBackgroundBrush().color(); }
void TChart::setBackWallColor(const QColor& color)
{
    chart_->setPlotAreaBackgroundBrush(color);
    chart_->setPlotAreaBackgroundVisible(true);
}
bool TChart::legendVisible() const { return chart_->legend()->isVisible(); }
void TChart::setLegendVisible(bool visible) { chart_->legend()->setVisible(visible); }
QString TChart::seriesName() const { return series_.front()->line_->name(); }
void TChart::setSeriesName(const QString& name) { series_.front()->line_->setName(name); }
QColor TChart::seriesColor() const { return series_.front()->line_->color(); }
void TChart::setSeriesColor(const QColor& color)
{
    QPen pen(color);
    pen.setWidthF(1.5);
    series_.front()->line_->setPen(pen);
}

void TChart::setLabelFontName(const QString& name)
{
    labelFontName_ = name;
    ApplyLabelFont();
}

void TChart::setLabelFontHeight(int height)
{
    labelFontHeight_ = height;
    ApplyLabelFont();
}

void TChart::ApplyLabelFont()
{
    QFont font = axisX_->labelsFont();
    if (!labelFontName_.isEmpty())
        font.setFamily(labelFontName_);
    font.setPixelSize(std::max(1, std::abs(labelFontHeight_)));
    for (QCategoryAxis* axis : { axisX_, axisY_ }) {
        axis->setLabelsFont(font);
        axis->setTitleFont(font);
    }
}
