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
}

void TChart::ResetZoom()
{
    zoom_.reset();
    ApplyScales();
}

bool TChart::IsDrawable(int index) const
{
    return index >= 0 && index < series_.front()->Count()
        && series_.front()->PointAt(index).IsFinite();
}

int TChart::NearestPoint(const QPointF& pixel) const
{
    const TChartMap map = Map();
    const QRectF area = map.Area().adjusted(-1, -1, 1, 1);
    int nearest = -1;
    double best = std::numeric_limits<double>::infinity();
    const TFastLineSeries& s = *series_.front();
    for (int i = 0; i < s.Count(); ++i) {
        if (!IsDrawable(i))
            continue;
        const QPointF at = map.ToPixel(s.XValue(i), s.YValue(i));
        if (!area.contains(at))
            continue;
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
    if (s.Count() == 0)
        return QStringLiteral("点がありません");
    QString text = QString::number(s.Count()) + QStringLiteral(" 点");
    if (const std::optional<TWindow> bounds = DataBounds()) {
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
    const QRectF area = map.Area().adjusted(-1, -1, 1, 1);
    const TFastLineSeries& s = *series_.front();
    auto shown = [&](int i) {
        return IsDrawable(i) && area.contains(map.ToPixel(s.XValue(i), s.YValue(i)));
    };
    // The next shown point from `from` in steps of `step`, or `from` if there is none.
    auto next = [&](int from, int step) {
        for (int i = from + step; i >= 0 && i < s.Count(); i += step)
            if (shown(i))
                return i;
        return from;
    };
    switch (event->key()) {
    case Qt::Key_Left:
        SetReadout(readout_ < 0 ? next(s.Count(), -1) : next(readout_, -1));
        return;
    case Qt::Key_Right:
        SetReadout(next(readout_, 1));
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
