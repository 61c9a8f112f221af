// SPDX-License-Identifier: GPL-3.0-or-later
// A chart with one fast line series, configured from the stored form and painted by
// itself. The series keeps the points as given (unscaled, X ascending); the chart shows
// them in display units chosen per axis so that any finite data between about 1e-300
// and 1e300 in magnitude gets a covering range and exact, readable labels.
//
// Reading tools: the mouse or the arrow keys mark a point and show its values; dragging
// a rectangle or the wheel looks closer, a double-click or Escape returns to the full
// range; Ctrl+C copies the points as a table and the chart as a picture.
#pragma once

#include "toolkit/AxisScale.h"
#include "toolkit/ChartMap.h"

#include <QColor>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class TChart;

// A colour as the form stores it: 0x00BBGGRR, or DefaultSeriesColor for "the series'
// own colour".
using TColor = std::uint32_t;
inline constexpr TColor DefaultSeriesColor = 0x80000000u;

class TFastLineSeries {
public:
    struct Point {
        double x, y;
        QString label;
        TColor color;
        [[nodiscard]] bool IsFinite() const { return std::isfinite(x) && std::isfinite(y); }
    };

    // Removes all points.
    void Clear();
    // Adds a point, keeping X ascending: a point lands after every point with a smaller
    // or equal X, so points arriving in ascending X land at the end. A point with a NaN X
    // is kept after all others. A point with a non-finite X or Y is kept but drawn
    // nowhere. The label and colour are kept with the point; a line series draws every
    // point in the series' colour. The chart shows the point from its next frame on.
    // Returns the index.
    int AddXY(double x, double y, const QString& label = {}, TColor color = DefaultSeriesColor);

    [[nodiscard]] int Count() const { return static_cast<int>(points_.size()); }
    [[nodiscard]] double XValue(int index) const
    {
        return points_.at(static_cast<std::size_t>(index)).x;
    }
    [[nodiscard]] double YValue(int index) const
    {
        return points_.at(static_cast<std::size_t>(index)).y;
    }
    [[nodiscard]] const Point& PointAt(int index) const
    {
        return points_.at(static_cast<std::size_t>(index));
    }
    [[nodiscard]] QColor SeriesColor() const { return color_; }
    [[nodiscard]] QString Name() const { return name_; }

private:
    friend class TChart;
    explicit TFastLineSeries(TChart& chart);

    TChart& chart_;
    std::vector<Point> points_;
    QColor color_ = Qt::red;
    QString name_;
};

class TChart : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor backWallColor READ backWallColor WRITE setBackWallColor)
    Q_PROPERTY(bool legendVisible READ legendVisible WRITE setLegendVisible)
    Q_PROPERTY(bool view3D READ view3D WRITE setView3D)
    Q_PROPERTY(QString seriesName READ seriesName WRITE setSeriesName)
    Q_PROPERTY(QColor seriesColor READ seriesColor WRITE setSeriesColor)
    Q_PROPERTY(QString labelFontName READ labelFontName WRITE setLabelFontName)
    Q_PROPERTY(int labelFontHeight READ labelFontHeight WRITE setLabelFontHeight)
    // What the axes stand for, as the readout and the copied table name them.
    Q_PROPERTY(QString xValueName READ xValueName WRITE setXValueName)
    Q_PROPERTY(QString yValueName READ yValueName WRITE setYValueName)
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // The chart's series by index (0 is the first); throws Exception when out of range.
    TFastLineSeries* GetSeries(int index) const;
    [[nodiscard]] int SeriesCount() const { return static_cast<int>(series_.size()); }

    // Brings the axes up to date with the points now. Done by itself once after any
    // number of changes, before the next paint.
    void Refresh();
    // The scales the axes show, as of the last refresh and zoom.
    [[nodiscard]] const TAxisScale& ScaleX() const { return scaleX_; }
    [[nodiscard]] const TAxisScale& ScaleY() const { return scaleY_; }
    // Where the values lie in the widget now.
    [[nodiscard]] TChartMap Map() const;
    [[nodiscard]] bool IsZoomed() const { return zoom_.has_value(); }

    // The marked point of the first series (-1 for none) and its readout text,
    // "V = …, C = …" (empty when no point is marked).
    [[nodiscard]] int ReadoutIndex() const { return readout_; }
    [[nodiscard]] QString ReadoutText() const;
    // What the chart shows, for assistive technology: the readout while a point is
    // marked, else the number of points in view and the ranges of their values, or
    // 「点がありません」 when there is none in view.
    [[nodiscard]] QString Description() const;
    // The points as a tab-separated table with a header row, in the lists' number text.
    [[nodiscard]] QString Table() const;
    // The chart as it is shown, without the marker, readout and focus frame.
    [[nodiscard]] QImage Picture() const;
    // Puts the table (text/plain) and the picture (image/png) on the clipboard.
    void CopyToClipboard() const;

    QString title() const { return title_; }
    void setTitle(const QString& title);
    QColor backColor() const { return backColor_; }
    void setBackColor(const QColor& color);
    QColor backWallColor() const { return backWallColor_; }
    void setBackWallColor(const QColor& color);
    bool legendVisible() const { return false; }
    void setLegendVisible(bool) { } // one series, named by the title: no legend
    bool view3D() const { return false; }
    void setView3D(bool) { } // the chart is always drawn in two dimensions
    QString seriesName() const;
    void setSeriesName(const QString& name);
    QColor seriesColor() const;
    void setSeriesColor(const QColor& color);
    QString labelFontName() const { return labelFontName_; }
    void setLabelFontName(const QString& name);
    int labelFontHeight() const { return labelFontHeight_; }
    void setLabelFontHeight(int height);
    // The font of the tick labels: the installed family the stored name maps onto
    // (InstalledFontFamily), at the stored height.
    QFont labelFont() const { return labelFont_; }
    QString xValueName() const { return xValueName_; }
    void setXValueName(const QString& name);
    QString yValueName() const { return yValueName_; }
    void setYValueName(const QString& name);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class TFastLineSeries;
    static constexpr auto kRefreshEvent = static_cast<QEvent::Type>(QEvent::User + 1);
    struct TRange {
        double lo, hi; // true values, lo <= hi (lo < hi in a zoom window)
    };
    struct TWindow {
        TRange x, y;
    };

    // Notes a change of the points and asks for one refresh before the next paint.
    void DataChanged();
    // The least and greatest finite values of the points, if there are any.
    [[nodiscard]] std::optional<TWindow> DataBounds() const;
    // Lays out the axes for the data, the closer look and the widget's size: the nice
    // ticks, with fewer of them on an axis whose labels would not keep clear of each
    // other or of the widget's edges.
    void ApplyScales();
    // After a change of what is in view: a marked point out of view is unmarked.
    void ViewChanged();
    // Where the tick labels of each axis are drawn in `map`, in tick order; a label that
    // cannot be placed clear of the ones before it or inside the widget has an empty
    // rectangle and is not drawn.
    [[nodiscard]] std::vector<QRectF> XLabelRects(const TChartMap& map) const;
    [[nodiscard]] std::vector<QRectF> YLabelRects(const TChartMap& map) const;
    // Shows exactly the window, or the full range when it reaches beyond it.
    void ZoomTo(const TWindow& window);
    void ResetZoom();
    void SetReadout(int index);
    void AnnounceDescription();
    [[nodiscard]] QRectF PlotArea() const;
    [[nodiscard]] bool IsDrawable(int index) const;
    // Drawable and inside the plot area of `map` (to within a pixel).
    [[nodiscard]] bool IsShown(int index, const TChartMap& map) const;
    [[nodiscard]] int NearestPoint(const QPointF& pixel) const;
    void Paint(QPainter& painter, bool interactive) const;
    void PaintSeries(QPainter& painter, const TChartMap& map) const;
    void PaintReadout(QPainter& painter, const TChartMap& map) const;

    std::vector<std::unique_ptr<TFastLineSeries>> series_;
    std::optional<TWindow> bounds_; // of the finite points, as of the last refresh
    TAxisScale fullX_, fullY_; // the whole data
    TAxisScale scaleX_, scaleY_; // what the axes show
    std::optional<TWindow> zoom_;
    int readout_ = -1;
    std::optional<QPoint> dragStart_;
    QPoint dragEnd_;
    QString title_;
    QColor backColor_ = Qt::white;
    QColor backWallColor_ = Qt::white;
    QString labelFontName_;
    int labelFontHeight_ = -12;
    QFont labelFont_;
    QString xValueName_ = QStringLiteral("X");
    QString yValueName_ = QStringLiteral("Y");
    bool refreshPending_ = false;
};
