// A chart with one fast line series, configured from the stored form. The series keeps
// the points as given (unscaled, X ascending); the chart shows them in display units
// chosen per axis so that any finite data between about 1e-300 and 1e300 in magnitude
// gets a covering range and readable labels, re-ranged after every change.
#pragma once

#include "toolkit/AxisScale.h"

#include <QChartView>
#include <QColor>
#include <QEvent>

#include <cstdint>
#include <memory>
#include <vector>

class QCategoryAxis;
class QChart;
class QLineSeries;
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
    };

    // Removes all points.
    void Clear();
    // Adds a point, keeping X ascending (a point with a smaller X lands in order); the
    // chart shows it from its next frame on. The label and colour are kept with the
    // point; a line series draws every point in the series' colour. Returns the index.
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
    [[nodiscard]] QColor SeriesColor() const;
    // The Qt series that draws the points, in display units, up to date.
    [[nodiscard]] QLineSeries* LineSeries() const;

private:
    friend class TChart;
    TFastLineSeries(TChart& chart, QLineSeries* line);

    TChart& chart_;
    QLineSeries* line_;
    std::vector<Point> points_;
};

class TChart : public QChartView {
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
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // The chart's series by index (0 is the first); throws Exception when out of range.
    TFastLineSeries* GetSeries(int index) const;
    [[nodiscard]] int SeriesCount() const { return static_cast<int>(series_.size()); }

    // The axes, up to date with the points.
    [[nodiscard]] QCategoryAxis* AxisX() const { return Refresh(), axisX_; }
    [[nodiscard]] QCategoryAxis* AxisY() const { return Refresh(), axisY_; }

    QString title() const;
    void setTitle(const QString& title);
    QColor backColor() const;
    void setBackColor(const QColor& color);
    QColor backWallColor() const;
    void setBackWallColor(const QColor& color);
    bool legendVisible() const;
    void setLegendVisible(bool visible);
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

protected:
    bool event(QEvent* event) override;

private:
    friend class TFastLineSeries;
    static constexpr auto kRefreshEvent = static_cast<QEvent::Type>(QEvent::User + 1);
    // Notes a change of the points and asks for one refresh before the next paint.
    void DataChanged();
    // Re-ranges both axes for the current points and shows the points in display units.
    void Refresh() const;
    static void ApplyScale(QCategoryAxis* axis, const TAxisScale& scale);
    void ApplyLabelFont();
    QPointF ToDisplay(const TFastLineSeries::Point& point) const;

    QChart* chart_;
    QCategoryAxis* axisX_;
    QCategoryAxis* axisY_;
    std::vector<std::unique_ptr<TFastLineSeries>> series_;
    TAxisScale scaleX_;
    TAxisScale scaleY_;
    QString labelFontName_;
    int labelFontHeight_ = -12;
    mutable bool refreshPending_ = false;
};
