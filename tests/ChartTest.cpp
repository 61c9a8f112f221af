// SPDX-License-Identifier: GPL-3.0-or-later
// The charts as a user reads them: the order of the points, the readout under the mouse
// and the keys, looking closer and back, copying, a lone point, and what a screen reader
// is told. Driven on the real window after "例入力" and "計算".
#include "TestSupport.h"
#include "toolkit/Convert.h"
#include "ui/Unit1.h"

#include <QAccessible>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

QStringList Lines(const QPlainTextEdit* list)
{
    const QString text = list->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QPoint PixelOf(const TChart* chart, int index)
{
    const TFastLineSeries* s = chart->GetSeries(0);
    return chart->Map().ToPixel(s->XValue(index), s->YValue(index)).toPoint();
}

bool IsSeriesRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 90 && qBlue(c) < 90; }

int RedPixels(const QImage& image)
{
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += IsSeriesRed(image.pixel(x, y)) ? 1 : 0;
    return red;
}

// Every label names exactly the value at its tick, and the ticks lie in the shown range.
void VerifyExactTicks(const TAxisScale& s)
{
    QVERIFY(s.ticks.size() >= 2);
    for (const TAxisTick& t : s.ticks) {
        QVERIFY(t.position >= s.min && t.position <= s.max);
        const double value = t.label.toDouble();
        const double expected = FromDisplay(t.position, s.exponent);
        QVERIFY2(
            std::abs(value - expected) <= std::abs(expected) * 1e-9 + 1e-300, qPrintable(t.label));
    }
}

} // namespace

class ChartTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TWarningTrap> trap_;
    std::unique_ptr<TForm1> form_;

    void Calculate()
    {
        form_->N2->trigger();
        QTest::mouseClick(form_->Button1, Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(form_->Chart1->GetSeries(0)->Count(), 44);
    }
    // Drags a rectangle on the chart with the left button, from one corner to the other.
    static void Drag(TChart* c, const QPoint& from, const QPoint& to)
    {
        QTest::mousePress(c, Qt::LeftButton, {}, from);
        QTest::mouseMove(c, to);
        QTest::mouseRelease(c, Qt::LeftButton, {}, to);
    }

    TChart* Show(const QString& name)
    {
        auto* chart = form_->findChild<TChart*>(name);
        form_->PageControl1->setCurrentWidget(chart->parentWidget());
        chart->Refresh();
        return chart;
    }

private slots:
    void initTestCase() { InstallFontSubstitutions(); }
    void init()
    {
        trap_ = std::make_unique<TWarningTrap>();
        form_ = std::make_unique<TForm1>();
        form_->DoCreate();
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void cleanup()
    {
        form_.reset();
        const QStringList warnings = trap_->Take();
        trap_.reset();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    }

    void points_keep_x_ascending()
    {
        TFastLineSeries* s = form_->Chart1->GetSeries(0);
        // An equal X lands after the points that have it.
        QCOMPARE(s->AddXY(1.0, 10.0), 0);
        QCOMPARE(s->AddXY(1.0, 20.0), 1);
        QCOMPARE(s->AddXY(0.0, 5.0), 0);
        QCOMPARE(s->AddXY(1.0, 30.0), 3);
        QCOMPARE(s->AddXY(2.0, 40.0), 4);
        // A NaN X is kept after all others and breaks the order of none.
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QCOMPARE(s->AddXY(nan, 50.0), 5);
        QCOMPARE(s->AddXY(1.5, 35.0), 4);
        QCOMPARE(s->AddXY(nan, 60.0), 7);
        QCOMPARE(s->AddXY(-1.0, 0.0), 0);
        const double ys[] = { 0, 5, 10, 20, 30, 35, 40, 50, 60 };
        QCOMPARE(s->Count(), 9);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(s->YValue(i), ys[i]);
        QVERIFY(std::isnan(s->XValue(8)));
    }

    // Points that cannot be placed are kept, counted and drawn nowhere: the axes and the
    // picture are those of the others.
    void a_nan_x_is_drawn_nowhere()
    {
        TChart* chart = form_->Chart1;
        TFastLineSeries* s = chart->GetSeries(0);
        s->AddXY(-4.0, 1.0);
        s->AddXY(0.0, 2.0);
        chart->Refresh();
        const TAxisScale x = chart->ScaleX(), y = chart->ScaleY();
        const QImage before = chart->Picture();
        s->AddXY(std::numeric_limits<double>::quiet_NaN(), 1e30);
        chart->Refresh();
        QCOMPARE(chart->ScaleX(), x);
        QCOMPARE(chart->ScaleY(), y);
        QCOMPARE(chart->Picture(), before);
        QVERIFY2(chart->Description().startsWith(QStringLiteral("3 点")),
            qPrintable(chart->Description()));
        QTest::keyClick(chart, Qt::Key_End); // never marks it
        QCOMPARE(chart->ReadoutIndex(), 1);
    }

    // Where no point can be placed, the axes are those of an empty chart and the
    // description gives only the count.
    void no_point_can_be_placed()
    {
        TChart* chart = form_->Chart1;
        chart->Refresh();
        const TAxisScale x = chart->ScaleX(), y = chart->ScaleY();
        TFastLineSeries* s = chart->GetSeries(0);
        s->AddXY(std::numeric_limits<double>::quiet_NaN(), 1.0);
        s->AddXY(1.0, std::numeric_limits<double>::infinity());
        chart->Refresh();
        QCOMPARE(chart->ScaleX(), x);
        QCOMPARE(chart->ScaleY(), y);
        QCOMPARE(chart->Description(), QStringLiteral("2 点"));
    }

    void readout_shows_the_lists_text_data()
    {
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QString>("how"); // "hover" or keys pressed
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("C hovered last")
            << "Chart1"
            << "hover" << 43 << "V = 0.30000000000000243, C = 8.416650165000427e-22";
        QTest::newRow("C Home") << "Chart1"
                                << "Home" << 0 << "V = -4, C = 1.268857754044952e-22";
        QTest::newRow("C Right Right") << "Chart1"
                                       << "Right Right" << 1 << QString();
        QTest::newRow("1/C² hovered first")
            << "Chart2"
            << "hover" << 0 << "V = -4, 1/C² = 6.211180124223603e+43";
        QTest::newRow("1/C² End") << "Chart2"
                                  << "End" << 43
                                  << "V = 0.30000000000000243, 1/C² = 1.411631846414421e+42";
        QTest::newRow("1/C² End Left Home Left")
            << "Chart2"
            << "End Left Home Left" << 0 << "V = -4, 1/C² = 6.211180124223603e+43";
    }
    void readout_shows_the_lists_text()
    {
        QFETCH(QString, chart);
        QFETCH(QString, how);
        QFETCH(int, index);
        QFETCH(QString, text);
        Calculate();
        TChart* c = Show(chart);
        if (how == QLatin1String("hover")) {
            QTest::mouseMove(c, PixelOf(c, index) + QPoint(2, -2));
        } else {
            c->setFocus();
            for (const QString& key : how.split(' '))
                QTest::keyClick(c,
                    key == "Home"       ? Qt::Key_Home
                        : key == "End"  ? Qt::Key_End
                        : key == "Left" ? Qt::Key_Left
                                        : Qt::Key_Right);
        }
        QCOMPARE(c->ReadoutIndex(), index);
        // The readout is the lists' text of the marked point.
        const QPlainTextEdit* list = chart == "Chart1" ? form_->Memo1 : form_->Memo2;
        const QString value = Lines(list)[index];
        QVERIFY2(
            c->ReadoutText().endsWith(QStringLiteral(" = ") + value), qPrintable(c->ReadoutText()));
        if (!text.isEmpty())
            QCOMPARE(c->ReadoutText(), text);
    }

    // The readout stays while the mouse or the focus is on the chart, and goes with new
    // points.
    void readout_goes_when_mouse_and_focus_leave_and_with_new_points()
    {
        Calculate();
        TChart* c = Show("Chart1");
        QTest::mouseMove(c, PixelOf(c, 10));
        QCOMPARE(c->ReadoutIndex(), 10);
        QTest::mouseMove(form_->Edit1);
        QTRY_COMPARE(c->ReadoutIndex(), -1);

        c->setFocus();
        QTest::keyClick(c, Qt::Key_End);
        QCOMPARE(c->ReadoutIndex(), 43);
        QTest::mouseMove(c, PixelOf(c, 20));
        QTest::mouseMove(form_->Edit1);
        QCOMPARE(c->ReadoutIndex(), 20); // still focused
        form_->Edit1->setFocus();
        QCOMPARE(c->ReadoutIndex(), -1);

        c->setFocus();
        QTest::keyClick(c, Qt::Key_Home);
        QCOMPARE(c->ReadoutIndex(), 0);
        c->GetSeries(0)->AddXY(1.0, 1e-22); // point 0 stays, but the points changed
        QVERIFY(c->hasFocus());
        QCOMPARE(c->ReadoutIndex(), -1);
        QCOMPARE(c->ReadoutText(), QString());
    }

    void zoom_into_a_rectangle_and_back()
    {
        Calculate();
        TChart* c = Show("Chart1");
        const TAxisScale fullX = c->ScaleX(), fullY = c->ScaleY();
        const TChartMap full = c->Map();
        const QPoint from = full.ToPixel(-3.5, 3e-22).toPoint();
        const QPoint to = full.ToPixel(-1.5, 1e-22).toPoint();
        Drag(c, from, to);
        QVERIFY(c->IsZoomed());
        // Both axes show the rectangle, to the pixel, with exact labels inside it.
        const TChartMap zoomed = c->Map();
        const double pixelX = 5.0 / full.Area().width(), pixelY = 1e-21 / full.Area().height();
        QVERIFY(std::abs(zoomed.XAt(zoomed.Area().left()) - -3.5) < pixelX);
        QVERIFY(std::abs(zoomed.XAt(zoomed.Area().right()) - -1.5) < pixelX);
        QVERIFY(std::abs(zoomed.YAt(zoomed.Area().top()) - 3e-22) < pixelY);
        QVERIFY(std::abs(zoomed.YAt(zoomed.Area().bottom()) - 1e-22) < pixelY);
        VerifyExactTicks(c->ScaleX());
        VerifyExactTicks(c->ScaleY());
        QVERIFY(c->ScaleX().ticks.front().label.toDouble() >= -3.5);
        QVERIFY(!(c->ScaleX() == fullX));
        // Only the points inside are marked by the keys.
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Home);
        QVERIFY(c->ReadoutIndex() > 0);
        QVERIFY(c->GetSeries(0)->XValue(c->ReadoutIndex()) > -3.6);

        QTest::mouseDClick(c, Qt::LeftButton, {}, to);
        QVERIFY(!c->IsZoomed());
        QCOMPARE(c->ScaleX(), fullX);
        QCOMPARE(c->ScaleY(), fullY);

        // The wheel zooms about the cursor; Escape returns.
        const QPoint at = full.ToPixel(-1.0, 2e-22).toPoint();
        const double underCursor = full.XAt(at.x());
        QWheelEvent notch(QPointF(at), QPointF(c->mapToGlobal(at)), QPoint(), QPoint(0, 120),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(c, &notch);
        QApplication::sendEvent(c, &notch);
        QVERIFY(c->IsZoomed());
        // (within the few pixels by which the plot area follows its labels' width)
        QVERIFY(std::abs(c->Map().XAt(at.x()) - underCursor) < pixelX * 8);
        QVERIFY(c->ScaleX().max - c->ScaleX().min < (fullX.max - fullX.min) * 0.7);
        VerifyExactTicks(c->ScaleX());
        QTest::keyClick(c, Qt::Key_Escape);
        QVERIFY(!c->IsZoomed());
        QCOMPARE(c->ScaleX(), fullX);

        // Zooming out ends at the full range; new points return to it.
        QApplication::sendEvent(c, &notch);
        QWheelEvent back(QPointF(at), QPointF(c->mapToGlobal(at)), QPoint(), QPoint(0, -240),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(c, &back);
        QVERIFY(!c->IsZoomed());
        QApplication::sendEvent(c, &notch);
        QVERIFY(c->IsZoomed());
        QTest::mouseClick(form_->Button1, Qt::LeftButton);
        QVERIFY(!c->IsZoomed());
        c->Refresh();
        QCOMPARE(c->ScaleX(), fullX);
    }

    // With no point in view, the keys mark none and the description says what is shown:
    // at start, after クリア, after an error, and in a closer look at an empty region.
    void keys_without_a_shown_point_mark_none_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("key");
        const std::pair<const char*, int> keys[] = { { "Left", Qt::Key_Left },
            { "Right", Qt::Key_Right }, { "Home", Qt::Key_Home }, { "End", Qt::Key_End } };
        for (const char* state : { "start", "cleared", "error", "empty_region" })
            for (const auto& [name, key] : keys)
                QTest::addRow("%s_%s", state, name) << QString::fromLatin1(state) << key;
    }
    void keys_without_a_shown_point_mark_none()
    {
        QFETCH(QString, state);
        QFETCH(int, key);
        if (state == QLatin1String("cleared")) {
            Calculate();
            form_->N1->trigger(); // クリア
        } else if (state == QLatin1String("error")) {
            TReportRecorder reports;
            form_->Edit1->setText(QStringLiteral("abc"));
            QTest::mouseClick(form_->Button1, Qt::LeftButton);
            QCOMPARE(reports.messages.size(), 1);
        } else if (state == QLatin1String("empty_region")) {
            Calculate();
        }
        TChart* c = Show("Chart1");
        if (state == QLatin1String("empty_region")) {
            // The upper left: high C at low bias, where the curve never goes.
            const TChartMap full = c->Map();
            const QPoint from = full.ToPixel(-3.9, 8e-22).toPoint();
            const QPoint to = full.ToPixel(-2.5, 5e-22).toPoint();
            Drag(c, from, to);
            QVERIFY(c->IsZoomed());
        }
        c->setFocus();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        for (int press = 0; press < 3; ++press) {
            QTest::keyClick(c, Qt::Key(key));
            QCOMPARE(c->ReadoutIndex(), -1);
            QCOMPARE(c->ReadoutText(), QString());
            QCOMPARE(a->text(QAccessible::Description), QStringLiteral("点がありません"));
        }
    }

    // In a closer look the description counts the points in view; the keys go through
    // those and stop at the last one in view.
    void description_and_keys_follow_a_closer_look()
    {
        Calculate();
        TChart* c = Show("Chart1");
        const TChartMap full = c->Map();
        const QPoint from = full.ToPixel(-3.5, 3e-22).toPoint();
        const QPoint to = full.ToPixel(-1.5, 1e-22).toPoint();
        Drag(c, from, to);
        QVERIFY(c->IsZoomed());
        // The points in view: those the map places in the plot area (to within a pixel).
        const TChartMap zoomed = c->Map();
        const QRectF frame = zoomed.Area().adjusted(-1, -1, 1, 1);
        const TFastLineSeries* s = c->GetSeries(0);
        int first = -1, last = -1;
        for (int i = 0; i < s->Count(); ++i)
            if (frame.contains(zoomed.ToPixel(s->XValue(i), s->YValue(i)))) {
                first = first < 0 ? i : first;
                last = i;
            }
        QVERIFY(first > 0 && last < 43);
        const QString description = c->Description();
        QVERIFY2(description.startsWith(QString::number(last - first + 1) + QStringLiteral(" 点")),
            qPrintable(description));
        const QString xRange = QStringLiteral("V は %1 から %2 まで")
                                   .arg(FloatToStr(s->XValue(first)), FloatToStr(s->XValue(last)));
        QVERIFY2(description.contains(xRange), qPrintable(description));
        c->setFocus();
        QTest::keyClick(c, Qt::Key_End);
        QCOMPARE(c->ReadoutIndex(), last);
        QTest::keyClick(c, Qt::Key_Right); // nothing further in view: it stays
        QCOMPARE(c->ReadoutIndex(), last);
        QTest::keyClick(c, Qt::Key_Home);
        QCOMPARE(c->ReadoutIndex(), first);
        QTest::keyClick(c, Qt::Key_Left);
        QCOMPARE(c->ReadoutIndex(), first);
    }

    // A closer look that leaves the marked point outside the frame unmarks it: no
    // readout, no marker, and the description is that of the view.
    void a_zoom_away_from_the_marked_point_unmarks_it_data()
    {
        QTest::addColumn<bool>("wheel");
        QTest::newRow("drag") << false;
        QTest::newRow("wheel") << true;
    }
    void a_zoom_away_from_the_marked_point_unmarks_it()
    {
        QFETCH(bool, wheel);
        Calculate();
        TChart* c = Show("Chart1");
        QTest::mouseMove(c, PixelOf(c, 20));
        QTest::mouseMove(c, PixelOf(c, 43));
        QCOMPARE(c->ReadoutIndex(), 43);
        const QImage unmarked = c->Picture();
        const TChartMap full = c->Map();
        if (wheel) {
            // Closer about the far left: the last point leaves the view.
            const QPoint at = full.ToPixel(-3.8, 1.3e-22).toPoint();
            QWheelEvent notch(QPointF(at), QPointF(c->mapToGlobal(at)), QPoint(), QPoint(0, 360),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(c, &notch);
        } else {
            const QPoint from = full.ToPixel(-3.5, 3e-22).toPoint();
            const QPoint to = full.ToPixel(-1.5, 1e-22).toPoint();
            Drag(c, from, to);
        }
        QVERIFY(c->IsZoomed());
        QVERIFY(!c->Map().Area().contains(PixelOf(c, 43)));
        QCOMPARE(c->ReadoutIndex(), -1);
        QCOMPARE(c->ReadoutText(), QString());
        QVERIFY2(c->Description().contains(QStringLiteral(" 点")), qPrintable(c->Description()));
        // What is painted: only the picture's own pixels, no marker ring or readout box.
        c->clearFocus();
        QImage shown = c->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage picture = c->Picture().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), picture.size());
        QVERIFY(shown == picture);
        QVERIFY(!(picture == unmarked.convertToFormat(QImage::Format_RGB32)));
        QTest::mouseMove(form_->Edit1); // leave the chart as found
    }

    void ctrl_c_copies_the_table_and_the_picture()
    {
        Calculate();
        TChart* c = Show("Chart2");
        c->setFocus();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(c, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(data->hasFormat(QStringLiteral("text/plain")));
        QVERIFY(data->hasFormat(QStringLiteral("image/png")));

        const QStringList rows = data->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 45);
        QCOMPARE(rows[0], QStringLiteral("V\t1/C²"));
        QCOMPARE(rows[1], QStringLiteral("-4\t6.211180124223603e+43"));
        QCOMPARE(rows[44], QStringLiteral("0.30000000000000243\t1.411631846414421e+42"));
        const QStringList values = Lines(form_->Memo2);
        for (int i = 0; i < 44; ++i)
            QCOMPARE(rows[i + 1].section(QLatin1Char('\t'), 1), values[i]);

        QImage picture;
        QVERIFY(picture.loadFromData(data->data(QStringLiteral("image/png")), "PNG"));
        QCOMPARE(picture.size(), c->size() * c->devicePixelRatio());
        QVERIFY(RedPixels(picture) > 200);
    }

    // A series of one point shows it as a dot in the series' colour.
    void a_lone_point_is_a_dot()
    {
        TChart* c = Show("Chart1");
        QCOMPARE(RedPixels(c->grab().toImage()), 0);
        c->GetSeries(0)->AddXY(-3.9, 1.27e-22);
        c->Refresh();
        const QImage image = c->grab().toImage();
        const QPoint at = PixelOf(c, 0);
        QVERIFY(IsSeriesRed(image.pixel(at)));
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (IsSeriesRed(image.pixel(x, y))) {
                    ++red;
                    QVERIFY(std::abs(x - at.x()) <= 3 && std::abs(y - at.y()) <= 3);
                }
        QVERIFY2(red >= 9, qPrintable(QString::number(red)));
    }

    void focus_by_click_and_tab_is_visible()
    {
        TChart* c = Show("Chart1");
        QCOMPARE(c->focusPolicy(), Qt::StrongFocus);
        const QRgb highlight = c->palette().color(QPalette::Highlight).rgb();
        QCOMPARE(c->grab().toImage().pixel(1, 1), QColor(Qt::white).rgb());
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(100, 100));
        QVERIFY(c->hasFocus());
        QCOMPARE(c->grab().toImage().pixel(1, 1), highlight);
        form_->PageControl1->setFocus();
        QVERIFY(!c->hasFocus());
        QTest::keyClick(form_->PageControl1, Qt::Key_Tab);
        QVERIFY(c->hasFocus());
    }

    void screen_readers_hear_title_and_contents()
    {
        QAccessibleInterface* one = QAccessible::queryAccessibleInterface(form_->Chart1);
        QAccessibleInterface* two = QAccessible::queryAccessibleInterface(form_->Chart2);
        QVERIFY(one && two);
        QCOMPARE(one->role(), QAccessible::Chart);
        QCOMPARE(one->text(QAccessible::Name), QStringLiteral("C-V特性"));
        QCOMPARE(two->text(QAccessible::Name), QStringLiteral("1/C^2-V特性"));
        QCOMPARE(one->text(QAccessible::Description), QStringLiteral("点がありません"));

        Calculate();
        QCOMPARE(one->text(QAccessible::Description),
            QStringLiteral("44 点、V は -4 から 0.30000000000000243 まで、"
                           "C は 1.268857754044952e-22 から 8.416650165000427e-22 まで"));
        QCOMPARE(two->text(QAccessible::Description),
            QStringLiteral("44 点、V は -4 から 0.30000000000000243 まで、"
                           "1/C² は 1.411631846414421e+42 から 6.211180124223603e+43 まで"));

        // The readout replaces it while shown. (That each change is announced needs a
        // platform with assistive technology running: the end-to-end run checks it.)
        TChart* c = Show("Chart2");
        c->setFocus();
        QTest::keyClick(c, Qt::Key_End);
        QCOMPARE(two->text(QAccessible::Description),
            QStringLiteral("V = 0.30000000000000243, 1/C² = 1.411631846414421e+42"));
        QTest::keyClick(c, Qt::Key_Left);
        QVERIFY(two->text(QAccessible::Description).startsWith(QStringLiteral("V = 0.2")));
        form_->Edit1->setFocus();
        QVERIFY(two->text(QAccessible::Description).startsWith(QStringLiteral("44 点")));
    }
};

QTEST_MAIN(ChartTest)
#include "ChartTest.moc"
