// SPDX-License-Identifier: GPL-3.0-or-later
// What a chart paints, looked at in its pixels on a small fixture: where the title, the
// tick labels and the line lie, where a dot is drawn, and how far a closer look reaches.
#include "TestSupport.h"
#include "toolkit/Chart.h"

#include <QPainter>
#include <QtTest>

#include "GoldenSweep.h" // after the Qt headers, or moc trips over <concepts>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// The tick labels' and the title's ink: black text, after antialiasing.
bool IsText(QRgb c) { return qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110; }
// Any trace of the red series, antialiased edges included.
bool IsReddish(QRgb c) { return qRed(c) > qGreen(c) + 50 && qRed(c) > qBlue(c) + 50; }
bool IsSeriesRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 90 && qBlue(c) < 90; }

struct TRun {
    int from, to; // inclusive
};

// The ink of each label along one axis: every line (column when `columns`, else row) of
// `band` that holds text ink belongs to the label of the nearest tick position. Labels
// that run together show as extents with no gap where they meet; a label without ink
// has an empty extent (from > to).
std::vector<TRun> LabelExtents(
    const QImage& image, const QRect& band, bool columns, const std::vector<double>& ticks)
{
    std::vector<TRun> extents(ticks.size(), TRun { std::numeric_limits<int>::max(), -1 });
    const int first = columns ? band.left() : band.top();
    const int last = columns ? band.right() : band.bottom();
    for (int line = first; line <= last; ++line) {
        bool ink = false;
        const int across0 = columns ? band.top() : band.left();
        const int across1 = columns ? band.bottom() : band.right();
        for (int k = across0; k <= across1 && !ink; ++k)
            ink = IsText(columns ? image.pixel(line, k) : image.pixel(k, line));
        if (!ink || ticks.empty())
            continue;
        std::size_t nearest = 0;
        for (std::size_t i = 1; i < ticks.size(); ++i)
            if (std::abs(ticks[i] - line) < std::abs(ticks[nearest] - line))
                nearest = i;
        extents[nearest].from = std::min(extents[nearest].from, line);
        extents[nearest].to = std::max(extents[nearest].to, line);
    }
    return extents;
}

QImage Shown(TChart* chart) { return chart->Picture().convertToFormat(QImage::Format_RGB32); }

void Drag(TChart* chart, QPoint from, QPoint to)
{
    QTest::mousePress(chart, Qt::LeftButton, {}, from);
    QTest::mouseMove(chart, to);
    QTest::mouseRelease(chart, Qt::LeftButton, {}, to);
}

void Wheel(TChart* chart, QPoint at, int notches)
{
    QWheelEvent event(QPointF(at), QPointF(chart->mapToGlobal(at)), QPoint(),
        QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart, &event);
}

// The true values at the plot area's edges: what the chart shows.
struct TShownWindow {
    double xLo, xHi, yLo, yHi;
};

TShownWindow ShownWindow(const TChartMap& map)
{
    const QRectF a = map.Area();
    return { map.XAt(a.left()), map.XAt(a.right()), map.YAt(a.bottom()), map.YAt(a.top()) };
}

} // namespace

class ChartPictureTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TWarningTrap> trap_;
    std::unique_ptr<TChart> chart_;

    // A chart of the example's C (or 1/C²) points, laid out as the window's charts are.
    TChart* Make(QSize size, bool inverse = false, int wide = 0)
    {
        chart_ = std::make_unique<TChart>();
        chart_->setTitle(inverse ? QStringLiteral("1/C^2-V特性") : QStringLiteral("C-V特性"));
        chart_->setLabelFontName(QStringLiteral("ＭＳ Ｐ明朝"));
        chart_->setLabelFontHeight(-12);
        chart_->resize(size);
        // `wide`: bias values of many digits, whose labels reach far beyond their ticks;
        // 2: with the bias as the value too, whose labels are short.
        for (const TGoldenPoint& p : GoldenRow("example").points)
            chart_->GetSeries(0)->AddXY(wide ? 1.234561e-22 + (p.V + 4) * 2e-28 : p.V,
                wide == 2     ? p.V
                    : inverse ? p.InvC2
                              : p.C);
        chart_->Refresh();
        chart_->show();
        return chart_.get();
    }

private slots:
    void initTestCase() { InstallFontSubstitutions(); }
    void init() { trap_ = std::make_unique<TWarningTrap>(); }
    void cleanup()
    {
        chart_.reset();
        const QStringList warnings = trap_->Take();
        trap_.reset();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    }

    // The title's ink (what changes when it is removed) lies wholly above the plot area,
    // whatever the title's size.
    void title_stays_above_the_plot_area_data()
    {
        QTest::addColumn<int>("pixels");
        for (int pixels : { 12, 20, 30 })
            QTest::addRow("%d_px", pixels) << pixels;
    }
    void title_stays_above_the_plot_area()
    {
        QFETCH(int, pixels);
        TChart* c = Make({ 337, 249 });
        QFont font = c->font();
        font.setPixelSize(pixels);
        c->setFont(font);
        const QImage with = Shown(c);
        const QRectF area = c->Map().Area();
        c->setTitle(QString());
        const QImage without = Shown(c);
        QCOMPARE(c->Map().Area(), area); // the title's text does not move the plot area
        int top = with.height(), lowest = -1;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                if (with.pixel(x, y) != without.pixel(x, y)) {
                    top = std::min(top, y);
                    lowest = std::max(lowest, y);
                }
        QVERIFY2(lowest < std::floor(area.top()),
            qPrintable(QStringLiteral("title ink to row %1, plot area from %2")
                           .arg(lowest)
                           .arg(area.top())));
        // The whole title, none of it covered: as tall as the same text painted alone.
        QImage alone(with.size(), QImage::Format_RGB32);
        alone.fill(Qt::white);
        {
            QPainter painter(&alone);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(alone.rect(), Qt::AlignCenter, QStringLiteral("C-V特性"));
        }
        int aloneTop = alone.height(), aloneLowest = -1;
        for (int y = 0; y < alone.height(); ++y)
            for (int x = 0; x < alone.width(); ++x)
                if (alone.pixel(x, y) != qRgb(255, 255, 255)) {
                    aloneTop = std::min(aloneTop, y);
                    aloneLowest = std::max(aloneLowest, y);
                }
        QVERIFY2(std::abs((lowest - top) - (aloneLowest - aloneTop)) <= 1,
            qPrintable(QStringLiteral("title ink %1 rows tall, alone %2")
                           .arg(lowest - top + 1)
                           .arg(aloneLowest - aloneTop + 1)));
    }

    // Every tick label is drawn, wholly inside the widget, apart from its neighbours, at
    // its tick: in the full view, in narrow and short charts and at deep zooms.
    void tick_labels_lie_inside_and_apart_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("inverse");
        QTest::addColumn<int>("zoom"); // wheel notches in after a 40 x 30 drag at the centre
        QTest::addColumn<int>("wide");
        QTest::newRow("full") << QSize(337, 249) << false << -1 << 0;
        QTest::newRow("full_inverse") << QSize(337, 249) << true << -1 << 0;
        QTest::newRow("wide") << QSize(337, 249) << false << -1 << 1;
        QTest::newRow("wide_beside_short") << QSize(337, 249) << false << -1 << 2;
        QTest::newRow("narrow") << QSize(150, 249) << false << -1 << 0;
        QTest::newRow("short") << QSize(337, 120) << true << -1 << 0;
        QTest::newRow("dragged") << QSize(337, 249) << false << 0 << 0;
        QTest::newRow("deep") << QSize(337, 249) << false << 50 << 0;
        QTest::newRow("deep_inverse") << QSize(337, 249) << true << 50 << 0;
        QTest::newRow("deep_narrow") << QSize(260, 249) << true << 50 << 0;
    }
    void tick_labels_lie_inside_and_apart()
    {
        QFETCH(QSize, size);
        QFETCH(bool, inverse);
        QFETCH(int, zoom);
        QFETCH(int, wide);
        TChart* c = Make(size, inverse, wide);
        if (zoom >= 0) {
            const QPoint centre = c->Map().Area().center().toPoint();
            Drag(c, centre - QPoint(20, 15), centre + QPoint(20, 15));
            QVERIFY(c->IsZoomed());
            for (int i = 0; i < zoom; ++i)
                Wheel(c, centre, 1);
        }
        const QImage image = Shown(c);
        const TChartMap map = c->Map();
        const QRectF area = map.Area();
        const int h = QFontMetrics(c->labelFont()).height();

        // The bias labels: the lower half of the band below the plot area.
        const QRect xBand(0, int(area.bottom()) + h / 2 + 1, image.width(),
            image.height() - int(area.bottom()) - h / 2 - 1);
        const auto& xTicks = c->ScaleX().ticks;
        QVERIFY(xTicks.size() >= 2);
        std::vector<double> xAt;
        for (const TAxisTick& t : xTicks)
            xAt.push_back(map.XPixel(t.position));
        const std::vector<TRun> xInk = LabelExtents(image, xBand, true, xAt);
        for (std::size_t i = 0; i < xInk.size(); ++i) {
            const QString& label = xTicks[i].label;
            QVERIFY2(xInk[i].from <= xInk[i].to, qPrintable(label + QStringLiteral(" not drawn")));
            // Centred on its tick: a label cut at the widget's edge is not.
            QVERIFY2(
                std::abs((xInk[i].from + xInk[i].to) / 2.0 - xAt[i]) <= 4.0, qPrintable(label));
            if (i > 0) {
                QVERIFY2(xInk[i].from - xInk[i - 1].to - 1 >= 3,
                    qPrintable(xTicks[i - 1].label + QStringLiteral(" touches ") + label));
            }
        }
        QVERIFY(xInk.front().from > 0);
        QVERIFY(xInk.back().to < image.width() - 1);
        if (zoom < 0) { // the full view is labelled at both ends of each axis
            QCOMPARE(xAt.front(), area.left());
            QCOMPARE(xAt.back(), area.right());
        }

        // The value labels: left of the plot area, from half a label above it down to just
        // above the bias labels.
        const QRect yBand(0, int(area.top()) - h / 2 - 1, int(area.left()) - 2,
            int(area.bottom()) + 4 - (int(area.top()) - h / 2 - 1));
        const auto& yTicks = c->ScaleY().ticks;
        QVERIFY(yTicks.size() >= 2);
        std::vector<double> yAt;
        for (const TAxisTick& t : yTicks)
            yAt.push_back(map.YPixel(t.position));
        const std::vector<TRun> yInk = LabelExtents(image, yBand, false, yAt);
        for (std::size_t i = 0; i < yInk.size(); ++i) {
            const QString& label = yTicks[i].label;
            QVERIFY2(yInk[i].from <= yInk[i].to, qPrintable(label + QStringLiteral(" not drawn")));
            QVERIFY2(yInk[i].from <= yAt[i] + 2 && yInk[i].to >= yAt[i] - 2, qPrintable(label));
            if (i > 0) { // ticks go up the axis, rows down the image
                QVERIFY2(yInk[i - 1].from - yInk[i].to - 1 >= 3,
                    qPrintable(yTicks[i - 1].label + QStringLiteral(" touches ") + label));
            }
        }
        QVERIFY(yInk.back().from > 0);
        if (zoom < 0) {
            QCOMPARE(yAt.front(), area.bottom());
            QCOMPARE(yAt.back(), area.top());
        }
        for (int y = 0; y < image.height(); ++y)
            QVERIFY2(!IsText(image.pixel(0, y)), qPrintable(QString::number(y)));
    }

    // Zoomed into the middle of the curve, the line is cut at the frame: no trace of it
    // outside the plot area.
    void a_zoomed_line_stays_inside_the_frame_data()
    {
        QTest::addColumn<bool>("inverse");
        QTest::newRow("capacitance") << false;
        QTest::newRow("inverse_square") << true;
    }
    void a_zoomed_line_stays_inside_the_frame()
    {
        QFETCH(bool, inverse);
        TChart* c = Make({ 337, 249 }, inverse);
        const TChartMap full = c->Map();
        const TFastLineSeries* s = c->GetSeries(0);
        // A rectangle around the middle point, a quarter of the area's size.
        const QPointF middle = full.ToPixel(s->XValue(20), s->YValue(20));
        const QPointF half(full.Area().width() / 8, full.Area().height() / 8);
        Drag(c, (middle - half).toPoint(), (middle + half).toPoint());
        QVERIFY(c->IsZoomed());
        const QImage image = Shown(c);
        const QRectF frame = c->Map().Area().adjusted(-1, -1, 1, 1);
        int inside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (IsReddish(image.pixel(x, y))) {
                    QVERIFY2(frame.contains(QPointF(x + 0.5, y + 0.5)),
                        qPrintable(QStringLiteral("line ink at %1, %2").arg(x).arg(y)));
                    ++inside;
                }
        QVERIFY2(inside > 40, qPrintable(QString::number(inside)));
    }

    // A dot marks a point whose neighbours are both not drawable, and no other: a point
    // at the end of a line, or beside a gap, has its line only.
    void a_dot_marks_only_a_point_without_a_drawable_neighbour()
    {
        chart_ = std::make_unique<TChart>();
        TChart* c = chart_.get();
        c->resize(240, 180);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        // Flat runs, so that a dot stands out above and below its line.
        const double ys[] = { 0.73, 0.73, nan, 0.5, inf, 0.27, 0.27 };
        for (int i = 0; i < 7; ++i)
            c->GetSeries(0)->AddXY(0.5 + i, ys[i]);
        c->Refresh();
        c->show();
        const QImage image = Shown(c);
        const TChartMap map = c->Map();
        for (int i : { 0, 1, 3, 5, 6 }) {
            const QPoint at = map.ToPixel(0.5 + i, ys[i]).toPoint();
            // Red pixels in the column through the point, three rows either side.
            int red = 0;
            for (int dy = -3; dy <= 3; ++dy)
                red += IsSeriesRed(image.pixel(at.x(), at.y() + dy)) ? 1 : 0;
            if (i == 3)
                QVERIFY2(red >= 4, qPrintable(QString::number(red)));
            else
                QVERIFY2(red <= 2, qPrintable(QStringLiteral("point %1: %2").arg(i).arg(red)));
        }
        // No dot nor line where the undrawable points are.
        for (int i : { 2, 4 }) {
            const int x = int(map.XPixel(0.5 + i));
            for (int y = int(map.Area().top()) + 2; y < int(map.Area().bottom()) - 1; ++y)
                QVERIFY2(!IsReddish(image.pixel(x, y)), qPrintable(QString::number(y)));
        }
    }

    // However a closer look is asked for, by a rectangle dragged beyond the plot area or
    // by the wheel with the cursor outside it, the chart shows no more than its full view.
    void a_zoom_never_reaches_beyond_the_full_view_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("drag_past_lower_right") << "drag_past_lower_right";
        QTest::newRow("drag_past_upper_left") << "drag_past_upper_left";
        QTest::newRow("wheel_outside") << "wheel_outside";
    }
    void a_zoom_never_reaches_beyond_the_full_view()
    {
        QFETCH(QString, how);
        TChart* c = Make({ 337, 249 });
        const TChartMap full = c->Map();
        const TShownWindow whole = ShownWindow(full);
        const QRectF a = full.Area();
        const QPoint centre = a.center().toPoint();
        if (how == QLatin1String("drag_past_lower_right"))
            Drag(c, centre, QPoint(c->width() - 1, c->height() - 1));
        else if (how == QLatin1String("drag_past_upper_left"))
            Drag(c, centre, QPoint(1, 1));
        else
            Wheel(c, QPoint(c->width() - 3, 3), 3);
        QVERIFY(c->IsZoomed());
        const TShownWindow shown = ShownWindow(c->Map());
        const double dx = (whole.xHi - whole.xLo) * 1e-9, dy = (whole.yHi - whole.yLo) * 1e-9;
        QVERIFY2(shown.xLo >= whole.xLo - dx && shown.xHi <= whole.xHi + dx,
            qPrintable(QStringLiteral("%1 .. %2").arg(shown.xLo).arg(shown.xHi)));
        QVERIFY2(shown.yLo >= whole.yLo - dy && shown.yHi <= whole.yHi + dy,
            qPrintable(QStringLiteral("%1 .. %2").arg(shown.yLo).arg(shown.yHi)));
        QVERIFY(shown.xHi - shown.xLo < whole.xHi - whole.xLo
            || shown.yHi - shown.yLo < whole.yHi - whole.yLo);
    }
};

QTEST_MAIN(ChartPictureTest)
#include "ChartPictureTest.moc"
