// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's reading tools: the marked point and its readout (mouse and arrow keys),
// the closer look (dragged rectangle, wheel, reset), the description screen readers get,
// and the copy of the points and the picture.
#include "toolkit/Chart.h"

#include "toolkit/Convert.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kMinZoomPixels = 4; // a smaller drag is a click, not a rectangle
constexpr double kWheelStep = 0.8; // the window's share per wheel notch

} // namespace

void TChart::ZoomTo(const TWindow& window)
{
    constexpr double kMax = std::numeric_limits<double>::max();
    auto full = [&](const TAxisScale& s) {
        return TRange { std::clamp(FromDisplay(s.min, s.exponent), -kMax, kMax),
            std::clamp(FromDisplay(s.max, s.exponent), -kMax, kMax) };
    };
    // Never wider than the whole data, never so narrow that labels cannot tell ticks
    // apart.
    auto fit = [](TRange r, TRange whole) {
        r.lo = std::max(r.lo, whole.lo);
        r.hi = std::min(r.hi, whole.hi);
        return r;
    };
    auto tooNarrow = [](TRange r) {
        return !(r.hi > r.lo) || r.hi - r.lo < std::max(std::abs(r.lo), std::abs(r.hi)) * 1e-5;
    };
    const TRange wholeX = full(fullX_), wholeY = full(fullY_);
    const TWindow fitted { fit(window.x, wholeX), fit(window.y, wholeY) };
    if (tooNarrow(fitted.x) || tooNarrow(fitted.y))
        return;
    if (fitted.x.lo <= wholeX.lo && fitted.x.hi >= wholeX.hi && fitted.y.lo <= wholeY.lo
        && fitted.y.hi >= wholeY.hi) {
        ResetZoom();
        return;
    }
    zoom_ = fitted;
    ApplyScales();
    ViewChanged();
}

void TChart::ResetZoom()
{
    zoom_.reset();
    ApplyScales();
    ViewChanged();
}

void TChart::ViewChanged()
{
    // The readout names only a point the user can see.
    if (readout_ >= 0 && !IsShown(readout_, Map()))
        readout_ = -1;
    AnnounceDescription();
}

bool TChart::IsDrawable(int index) const
{
    return index >= 0 && index < series_.front()->Count()
        && series_.front()->PointAt(index).IsFinite();
}

bool TChart::IsShown(int index, const TChartMap& map) const
{
    if (!IsDrawable(index))
        return false;
    const TFastLineSeries::Point& p = series_.front()->PointAt(index);
    return map.Area().adjusted(-1, -1, 1, 1).contains(map.ToPixel(p.x, p.y));
}

int TChart::NearestPoint(const QPointF& pixel) const
{
    const TChartMap map = Map();
    int nearest = -1;
    double best = std::numeric_limits<double>::infinity();
    const TFastLineSeries& s = *series_.front();
    for (int i = 0; i < s.Count(); ++i) {
        if (!IsShown(i, map))
            continue;
        const QPointF at = map.ToPixel(s.XValue(i), s.YValue(i));
        const QPointF d = at - pixel;
        const double distance = QPointF::dotProduct(d, d);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

void TChart::SetReadout(int index)
{
    if (index == readout_)
        return;
    readout_ = index;
    AnnounceDescription();
    update();
}

QString TChart::ReadoutText() const
{
    if (!IsDrawable(readout_))
        return {};
    const TFastLineSeries::Point& p = series_.front()->PointAt(readout_);
    return xValueName_ + QStringLiteral(" = ") + FloatToStr(p.x) + QStringLiteral(", ")
        + yValueName_ + QStringLiteral(" = ") + FloatToStr(p.y);
}

QString TChart::Description() const
{
    if (readout_ >= 0)
        return ReadoutText();
    const TFastLineSeries& s = *series_.front();
    // The whole data, or in a closer look the points in view.
    int count = s.Count();
    std::optional<TWindow> bounds = DataBounds();
    if (zoom_) {
        const TChartMap map = Map();
        count = 0;
        bounds.reset();
        for (int i = 0; i < s.Count(); ++i) {
            if (!IsShown(i, map))
                continue;
            ++count;
            const double x = s.XValue(i), y = s.YValue(i);
            bounds = bounds ? TWindow { { std::min(bounds->x.lo, x), std::max(bounds->x.hi, x) },
                { std::min(bounds->y.lo, y), std::max(bounds->y.hi, y) } }
                            : TWindow { { x, x }, { y, y } };
        }
    }
    if (count == 0)
        return QStringLiteral("点がありません");
    QString text = QString::number(count) + QStringLiteral(" 点");
    if (zoom_)
        text += QStringLiteral("（拡大表示中）");
    if (bounds) {
        auto range = [](const QString& name, const TRange& r) {
            return QStringLiteral("、%1 は %2 から %3 まで")
                .arg(name, FloatToStr(r.lo), FloatToStr(r.hi));
        };
        text += range(xValueName_, bounds->x) + range(yValueName_, bounds->y);
    }
    return text;
}

QString TChart::Table() const
{
    QString table = xValueName_ + QLatin1Char('\t') + yValueName_ + QLatin1Char('\n');
    for (const auto& p : series_.front()->points_)
        table += FloatToStr(p.x) + QLatin1Char('\t') + FloatToStr(p.y) + QLatin1Char('\n');
    return table;
}

QImage TChart::Picture() const
{
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    Paint(painter, false);
    return image;
}

void TChart::CopyToClipboard() const
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    Picture().save(&buffer, "PNG");
    auto* mime = new QMimeData;
    mime->setText(Table());
    mime->setData(QStringLiteral("image/png"), png);
    QGuiApplication::clipboard()->setMimeData(mime);
}

void TChart::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragStart_ = event->position().toPoint();
    dragEnd_ = *dragStart_;
}

void TChart::mouseMoveEvent(QMouseEvent* event)
{
    if (dragStart_) {
        dragEnd_ = event->position().toPoint();
        update();
        return;
    }
    SetReadout(NearestPoint(event->position()));
}

void TChart::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !dragStart_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QRect band = QRect(*dragStart_, event->position().toPoint()).normalized();
    dragStart_.reset();
    update();
    if (band.width() < kMinZoomPixels || band.height() < kMinZoomPixels)
        return;
    const TChartMap map = Map();
    ZoomTo({ { map.XAt(band.left()), map.XAt(band.right()) },
        { map.YAt(band.bottom()), map.YAt(band.top()) } });
}

void TChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    dragStart_.reset();
    ResetZoom();
}

void TChart::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) {
        event->ignore();
        return;
    }
    // About the cursor: the value under it stays under it.
    const double factor = std::pow(kWheelStep, notches);
    const TChartMap map = Map();
    const QRectF area = map.Area();
    const double fx = (event->position().x() - area.left()) / area.width();
    const double fy = (area.bottom() - event->position().y()) / area.height();
    constexpr double kMax = std::numeric_limits<double>::max();
    auto scaled = [&](const TAxisScale& s, double f) {
        const double at = s.min + f * (s.max - s.min);
        const double lo = at - (at - s.min) * factor;
        const double hi = at + (s.max - at) * factor;
        return TRange { std::clamp(FromDisplay(lo, s.exponent), -kMax, kMax),
            std::clamp(FromDisplay(hi, s.exponent), -kMax, kMax) };
    };
    ZoomTo({ scaled(scaleX_, fx), scaled(scaleY_, fy) });
}

void TChart::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        return;
    }
    const TChartMap map = Map();
    const TFastLineSeries& s = *series_.front();
    const int marked = IsShown(readout_, map) ? readout_ : -1;
    // The next shown point from `from` in steps of `step`; else the marked point stays
    // (none when no point is shown).
    auto next = [&](int from, int step) {
        for (int i = from + step; i >= 0 && i < s.Count(); i += step)
            if (IsShown(i, map))
                return i;
        return marked;
    };
    switch (event->key()) {
    case Qt::Key_Left:
        SetReadout(marked < 0 ? next(s.Count(), -1) : next(marked, -1));
        return;
    case Qt::Key_Right:
        SetReadout(next(marked, 1));
        return;
    case Qt::Key_Home:
        SetReadout(next(-1, 1));
        return;
    case Qt::Key_End:
        SetReadout(next(s.Count(), -1));
        return;
    case Qt::Key_Escape:
        if (zoom_) {
            ResetZoom();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TChart::leaveEvent(QEvent* event)
{
    if (!hasFocus())
        SetReadout(-1);
    QWidget::leaveEvent(event);
}

void TChart::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void TChart::focusOutEvent(QFocusEvent* event)
{
    if (!underMouse())
        SetReadout(-1);
    update();
    QWidget::focusOutEvent(event);
}
