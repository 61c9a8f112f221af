// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Chart.h"

#include "toolkit/Application.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPainter>
#include <QPalette>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int kMargin = 20; // around the title, the labels and the plot area
constexpr int kTitleGap = 10;
constexpr int kLabelGap = 5;
constexpr int kLabelSpacing = 6; // the least room between neighbouring tick labels
const QColor kGridColor(0xe0, 0xe0, 0xe0);
const QColor kFrameColor(0xa0, 0xa0, 0xa0);

// Screen readers see a chart, named by its title and described by what it shows.
class TChartAccessible : public QAccessibleWidget {
public:
    explicit TChartAccessible(TChart* chart)
        : QAccessibleWidget(chart, QAccessible::Chart)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        const auto* chart = static_cast<const TChart*>(widget());
        if (t == QAccessible::Name && chart->accessibleName().isEmpty())
            return chart->title();
        if (t == QAccessible::Description && chart->accessibleDescription().isEmpty())
            return chart->Description();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* ChartAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TChart") && object && object->isWidgetType())
        return new TChartAccessible(static_cast<TChart*>(object));
    return nullptr;
}

} // namespace

TFastLineSeries::TFastLineSeries(TChart& chart)
    : chart_(chart)
{
}

void TFastLineSeries::Clear()
{
    points_.clear();
    chart_.DataChanged();
}

int TFastLineSeries::AddXY(double x, double y, const QString& label, TColor color)
{
    // NaN X values sit at the end, outside the ordered part that is searched.
    const auto ordered = std::partition_point(
        points_.begin(), points_.end(), [](const Point& p) { return !std::isnan(p.x); });
    const auto at = std::isnan(x) ? points_.end()
                                  : std::upper_bound(points_.begin(), ordered, x,
                                      [](double value, const Point& p) { return value < p.x; });
    const auto index = static_cast<int>(at - points_.begin());
    points_.insert(at, Point { x, y, label, color });
    chart_.DataChanged();
    return index;
}

TChart::TChart(QWidget* parent)
    : QWidget(parent)
{
    static const bool accessibleInstalled
        = (QAccessible::installFactory(&ChartAccessibleFactory), true);
    (void)accessibleInstalled;
    // Not marked as painting every pixel itself (Qt::WA_OpaquePaintEvent): at a
    // fractional scale such as 0.5 the paint covers fewer device pixels than the
    // widget's area, and without a background beneath, the rest showed black. Qt fills
    // the chart's own background colour instead, over the whole area, and so still
    // knows that nothing of the parent shows through.
    setAutoFillBackground(true);
    setBackColor(backColor_);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    series_.push_back(std::unique_ptr<TFastLineSeries>(new TFastLineSeries(*this)));
    setLabelFontHeight(labelFontHeight_); // lays out the axes
}

TChart::~TChart() = default;

TFastLineSeries* TChart::GetSeries(int index) const
{
    if (index < 0 || index >= SeriesCount())
        throw Exception("系列 " + std::to_string(index) + " はありません。");
    return series_[static_cast<std::size_t>(index)].get();
}

void TChart::DataChanged()
{
    // The points are already stored; showing them is done once for all the changes made
    // before control returns to the event loop. The refresh event outranks the window's
    // paint request, so no frame shows stale axes. A marked point or a closer look
    // belonged to the old points.
    readout_ = -1;
    zoom_.reset();
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
    if (event->type() == QEvent::FontChange)
        ApplyScales(); // the title's height moves the plot area
    return QWidget::event(event);
}

void TChart::Refresh()
{
    if (!refreshPending_)
        return;
    refreshPending_ = false;

    bounds_ = DataBounds();
    ApplyScales();
    AnnounceDescription();
}

std::optional<TChart::TWindow> TChart::DataBounds() const
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    TWindow bounds { { kInf, -kInf }, { kInf, -kInf } };
    for (const auto& s : series_)
        for (const auto& p : s->points_)
            if (p.IsFinite()) {
                bounds.x = { std::min(bounds.x.lo, p.x), std::max(bounds.x.hi, p.x) };
                bounds.y = { std::min(bounds.y.lo, p.y), std::max(bounds.y.hi, p.y) };
            }
    if (bounds.x.lo > bounds.x.hi)
        return std::nullopt;
    return bounds;
}

void TChart::ApplyScales()
{
    // The plot area depends on the labels (their widths) and the labels on the plot area
    // (their places): try the usual number of intervals, then fewer on each axis whose
    // labels do not all find room, down to one.
    auto placed = [](const std::vector<QRectF>& rects) {
        return std::none_of(
            rects.begin(), rects.end(), [](const QRectF& r) { return r.isEmpty(); });
    };
    // A closer look keeps at least two labelled ticks on each axis, if it has them.
    auto keepsTwo = [&](const TRange* window, int intervals) {
        return !window || ComputeAxisWindow(window->lo, window->hi, intervals).ticks.size() >= 2;
    };
    for (int nx = kAxisIntervals, ny = kAxisIntervals;;) {
        fullX_ = bounds_ ? ComputeAxisScale(bounds_->x.lo, bounds_->x.hi, false, nx)
                         : ComputeAxisScale(0, 0, true, nx);
        fullY_ = bounds_ ? ComputeAxisScale(bounds_->y.lo, bounds_->y.hi, false, ny)
                         : ComputeAxisScale(0, 0, true, ny);
        scaleX_ = zoom_ ? ComputeAxisWindow(zoom_->x.lo, zoom_->x.hi, nx) : fullX_;
        scaleY_ = zoom_ ? ComputeAxisWindow(zoom_->y.lo, zoom_->y.hi, ny) : fullY_;
        const TChartMap map = Map();
        const bool fewerX
            = !placed(XLabelRects(map)) && nx > 1 && keepsTwo(zoom_ ? &zoom_->x : nullptr, nx - 1);
        const bool fewerY
            = !placed(YLabelRects(map)) && ny > 1 && keepsTwo(zoom_ ? &zoom_->y : nullptr, ny - 1);
        if (!fewerX && !fewerY)
            break;
        nx -= fewerX ? 1 : 0;
        ny -= fewerY ? 1 : 0;
    }
    // Ticks whose labels still find no room go, grid line and all.
    for (bool dropped = true; dropped;) {
        const TChartMap map = Map();
        const std::vector<QRectF> xRects = XLabelRects(map), yRects = YLabelRects(map);
        auto drop = [](TAxisScale& scale, const std::vector<QRectF>& rects) {
            std::size_t i = 0;
            return std::erase_if(scale.ticks, [&](const TAxisTick&) {
                return rects[i++].isEmpty();
            }) > 0;
        };
        dropped = drop(scaleX_, xRects);
        dropped = drop(scaleY_, yRects) || dropped;
    }
    update();
}

void TChart::resizeEvent(QResizeEvent* event)
{
    ApplyScales();
    QWidget::resizeEvent(event);
}

std::vector<QRectF> TChart::XLabelRects(const TChartMap& map) const
{
    const QFontMetricsF labels(labelFont_);
    const QRectF widget(rect());
    std::vector<QRectF> rects;
    double clearFrom = -std::numeric_limits<double>::infinity();
    for (const TAxisTick& tick : scaleX_.ticks) {
        const double w = labels.horizontalAdvance(tick.label);
        const QRectF r(
            map.XPixel(tick.position) - w / 2, map.Area().bottom() + kLabelGap, w, labels.height());
        const bool fits = widget.contains(r) && r.left() >= clearFrom;
        rects.push_back(fits ? r : QRectF());
        if (fits)
            clearFrom = r.right() + kLabelSpacing;
    }
    return rects;
}

std::vector<QRectF> TChart::YLabelRects(const TChartMap& map) const
{
    const QFontMetricsF labels(labelFont_);
    const QRectF widget(rect());
    std::vector<QRectF> rects;
    double clearAbove = std::numeric_limits<double>::infinity(); // ticks ascend upwards
    for (const TAxisTick& tick : scaleY_.ticks) {
        const double w = labels.horizontalAdvance(tick.label);
        const QRectF r(map.Area().left() - kLabelGap - w,
            map.YPixel(tick.position) - labels.height() / 2, w, labels.height());
        const bool fits = widget.contains(r) && r.bottom() <= clearAbove;
        rects.push_back(fits ? r : QRectF());
        if (fits)
            clearAbove = r.top() - kLabelSpacing;
    }
    return rects;
}

TChartMap TChart::Map() const { return TChartMap(PlotArea(), scaleX_, scaleY_); }

QRectF TChart::PlotArea() const
{
    const QFontMetrics title(font());
    const QFontMetrics labels(labelFont_);
    int yLabelWidth = 0;
    for (const TAxisTick& tick : scaleY_.ticks)
        yLabelWidth = std::max(yLabelWidth, labels.horizontalAdvance(tick.label));
    const int firstXLabel
        = scaleX_.ticks.empty() ? 0 : labels.horizontalAdvance(scaleX_.ticks.front().label);
    const int lastXLabel
        = scaleX_.ticks.empty() ? 0 : labels.horizontalAdvance(scaleX_.ticks.back().label);
    // Room for the value labels on the left, and for half the first bias label.
    const double left = std::max(kMargin + yLabelWidth + kLabelGap, firstXLabel / 2 + kLabelGap);
    const double top = kMargin + title.height() + kTitleGap;
    const double right = width() - std::max(kMargin, lastXLabel / 2 + kLabelGap);
    const double bottom = height() - kMargin - labels.height() - kLabelGap;
    return QRectF(
        QPointF(left, top), QPointF(std::max(left + 1, right), std::max(top + 1, bottom)));
}

void TChart::AnnounceDescription()
{
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void TChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter, true);
}

void TChart::Paint(QPainter& painter, bool interactive) const
{
    painter.fillRect(rect(), backColor_);
    painter.setPen(Qt::black);
    painter.setFont(font());
    painter.drawText(QRectF(0, kMargin, width(), QFontMetrics(font()).height()),
        Qt::AlignHCenter | Qt::AlignTop, title_);

    const TChartMap map = Map();
    const QRectF area = map.Area();
    painter.fillRect(area, backWallColor_);
    // Grid and frame on whole pixels, crisp.
    painter.setPen(QPen(kGridColor, 1));
    for (const TAxisTick& tick : scaleX_.ticks) {
        const double x = std::round(map.XPixel(tick.position)) + 0.5;
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    for (const TAxisTick& tick : scaleY_.ticks) {
        const double y = std::round(map.YPixel(tick.position)) + 0.5;
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    painter.setPen(QPen(kFrameColor, 1));
    painter.drawRect(QRectF(std::round(area.left()) + 0.5, std::round(area.top()) + 0.5,
        std::round(area.width()) - 1, std::round(area.height()) - 1));

    painter.setPen(Qt::black);
    painter.setFont(labelFont_);
    auto drawLabels = [&](const TAxisScale& scale, const std::vector<QRectF>& rects) {
        for (std::size_t i = 0; i < rects.size(); ++i)
            if (!rects[i].isEmpty())
                painter.drawText(
                    rects[i], Qt::AlignCenter | Qt::TextDontClip, scale.ticks[i].label);
    };
    drawLabels(scaleX_, XLabelRects(map));
    drawLabels(scaleY_, YLabelRects(map));

    painter.setRenderHint(QPainter::Antialiasing);
    PaintSeries(painter, map);
    if (!interactive)
        return;
    PaintReadout(painter, map);
    if (dragStart_) {
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlpha(40);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        painter.setBrush(fill);
        painter.drawRect(QRectF(QRect(*dragStart_, dragEnd_).normalized()).intersected(area));
    }
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void TChart::PaintSeries(QPainter& painter, const TChartMap& map) const
{
    // Line segments are cut to the plot area by hand: when zoomed in, points far outside
    // map to pixel coordinates beyond what the rasteriser handles.
    const QRectF area = map.Area();
    for (const auto& s : series_) {
        QPen pen(s->color_);
        pen.setWidthF(1.5);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        QPainterPath path;
        const int n = s->Count();
        for (int i = 0; i + 1 < n; ++i) {
            const auto& p = s->points_[static_cast<std::size_t>(i)];
            const auto& q = s->points_[static_cast<std::size_t>(i) + 1];
            if (!p.IsFinite() || !q.IsFinite())
                continue;
            QPointF a = map.ToPixel(p.x, p.y), b = map.ToPixel(q.x, q.y);
            if (!ClipSegment(area, a, b))
                continue;
            if (path.elementCount() == 0 || path.currentPosition() != a)
                path.moveTo(a);
            path.lineTo(b);
        }
        painter.drawPath(path);
        // A point without a drawable neighbour has no line: a dot shows it.
        painter.setPen(Qt::NoPen);
        painter.setBrush(s->color_);
        for (int i = 0; i < n; ++i) {
            auto drawable = [&](int k) {
                return k >= 0 && k < n && s->points_[static_cast<std::size_t>(k)].IsFinite();
            };
            if (!drawable(i) || drawable(i - 1) || drawable(i + 1))
                continue;
            const auto& p = s->points_[static_cast<std::size_t>(i)];
            const QPointF at = map.ToPixel(p.x, p.y);
            if (area.contains(at))
                painter.drawEllipse(at, 2.5, 2.5);
        }
    }
}

void TChart::PaintReadout(QPainter& painter, const TChartMap& map) const
{
    if (!IsDrawable(readout_))
        return;
    const TFastLineSeries& s = *series_.front();
    const QPointF at = map.ToPixel(s.XValue(readout_), s.YValue(readout_));
    painter.setPen(QPen(s.color_.darker(150), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, 4.5, 4.5);

    const QString lines = xValueName_ + QStringLiteral(" = ") + FloatToStr(s.XValue(readout_))
        + QLatin1Char('\n') + yValueName_ + QStringLiteral(" = ") + FloatToStr(s.YValue(readout_));
    painter.setFont(font());
    const QRectF area = map.Area();
    QRectF box
        = painter.boundingRect(area, Qt::AlignLeft | Qt::AlignTop, lines).adjusted(-4, -2, 4, 2);
    // In the upper corner away from the marked point.
    const bool left = at.x() > area.center().x();
    box.moveTopLeft(
        QPointF(left ? area.left() + 4 : area.right() - 4 - box.width(), area.top() + 4));
    painter.setPen(kFrameColor);
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, lines);
}

void TChart::setTitle(const QString& title)
{
    title_ = title;
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void TChart::setBackColor(const QColor& color)
{
    backColor_ = color;
    QPalette background = palette();
    background.setColor(backgroundRole(), color);
    setPalette(background);
    update();
}

void TChart::setBackWallColor(const QColor& color)
{
    backWallColor_ = color;
    update();
}

QString TChart::seriesName() const { return series_.front()->name_; }
void TChart::setSeriesName(const QString& name) { series_.front()->name_ = name; }
QColor TChart::seriesColor() const { return series_.front()->color_; }
void TChart::setSeriesColor(const QColor& color)
{
    series_.front()->color_ = color;
    update();
}

void TChart::setLabelFontName(const QString& name)
{
    labelFontName_ = name;
    setLabelFontHeight(labelFontHeight_);
}

void TChart::setLabelFontHeight(int height)
{
    labelFontHeight_ = height;
    labelFont_ = QFont();
    if (!labelFontName_.isEmpty())
        labelFont_.setFamily(InstalledFontFamily(labelFontName_));
    labelFont_.setPixelSize(std::max(1, std::abs(labelFontHeight_)));
    labelFont_.setStyleStrategy(QFont::PreferNoShaping);
    ApplyScales();
}

void TChart::setXValueName(const QString& name)
{
    xValueName_ = name;
    AnnounceDescription();
}

void TChart::setYValueName(const QString& name)
{
    yValueName_ = name;
    AnnounceDescription();
}
