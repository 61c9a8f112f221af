// The window's commands, driven through its controls as a user would: menu actions,
// button clicks, typed text and context requests.
#include "TestSupport.h"
#include "calc/CapacitanceSweep.h"
#include "toolkit/Convert.h"
#include "ui/Unit1.h"

#include <QChart>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

QStringList Lines(const QPlainTextEdit* list)
{
    const QString text = list->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

} // namespace

class FormCommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TWarningTrap> trap_;
    std::unique_ptr<TReportRecorder> reports_;
    std::unique_ptr<TForm1> form_;

    void TypeInputs(const QString& nd, const QString& eps, const QString& vd, const QString& s)
    {
        const QString texts[] = { nd, eps, vd, s };
        QLineEdit* edits[] = { form_->Edit1, form_->Edit2, form_->Edit3, form_->Edit4 };
        for (int i = 0; i < 4; ++i) {
            edits[i]->selectAll();
            QTest::keyClick(edits[i], Qt::Key_Delete);
            QTest::keyClicks(edits[i], texts[i]);
            QCOMPARE(edits[i]->text(), texts[i]);
        }
    }
    void Calculate() { QTest::mouseClick(form_->Button1, Qt::LeftButton); }
    QStringList Fields() const
    {
        return { form_->Edit1->text(), form_->Edit2->text(), form_->Edit3->text(),
            form_->Edit4->text() };
    }
    void VerifyResultsEmpty()
    {
        QCOMPARE(form_->Memo1->toPlainText(), QString());
        QCOMPARE(form_->Memo2->toPlainText(), QString());
        QCOMPARE(form_->Chart1->GetSeries(0)->Count(), 0);
        QCOMPARE(form_->Chart2->GetSeries(0)->Count(), 0);
    }
    // Line k of each list and point k of each series show sweep point k.
    void VerifyResultsShow(const std::vector<TCVPoint>& points)
    {
        const QStringList c = Lines(form_->Memo1);
        const QStringList inv = Lines(form_->Memo2);
        const TFastLineSeries* s1 = form_->Chart1->GetSeries(0);
        const TFastLineSeries* s2 = form_->Chart2->GetSeries(0);
        const auto n = static_cast<int>(points.size());
        QCOMPARE(c.size(), n);
        QCOMPARE(inv.size(), n);
        QCOMPARE(s1->Count(), n);
        QCOMPARE(s2->Count(), n);
        for (int k = 0; k < n; ++k) {
            const TCVPoint& p = points[static_cast<std::size_t>(k)];
            QCOMPARE(c[k], FloatToStr(p.C));
            QCOMPARE(inv[k], FloatToStr(p.InvC2));
            QCOMPARE(StrToFloat(c[k]), p.C);
            QCOMPARE(s1->XValue(k), p.V);
            QCOMPARE(s1->YValue(k), p.C);
            QCOMPARE(s2->XValue(k), p.V);
            QCOMPARE(s2->YValue(k), p.InvC2);
            QCOMPARE(s1->PointAt(k).label, QString());
            QCOMPARE(s1->PointAt(k).color, DefaultSeriesColor);
        }
    }
    static std::vector<TCVPoint> ExamplePoints()
    {
        std::vector<TCVPoint> points;
        SweepCV(TJunctionInput { 1e-16, 10.0, 0.4, 10.0 },
            [&](const TCVPoint& p) { points.push_back(p); });
        return points;
    }

private slots:
    void initTestCase() { InstallFontSubstitutions(); }
    void init()
    {
        trap_ = std::make_unique<TWarningTrap>();
        reports_ = std::make_unique<TReportRecorder>();
        form_ = std::make_unique<TForm1>();
        form_->DoCreate();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup()
    {
        form_.reset();
        reports_.reset();
        const QStringList warnings = trap_->Take();
        trap_.reset();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    }

    void starts_with_empty_fields_and_results()
    {
        QCOMPARE(Fields(), QStringList({ "", "", "", "" }));
        QCOMPARE(form_->Memo1->blockCount(), 1);
        VerifyResultsEmpty();
        QCOMPARE(form_->PageControl1->currentIndex(), 0);
    }

    void example_then_calculate_shows_every_point_once()
    {
        form_->N2->trigger();
        QCOMPARE(Fields(), QStringList({ "10e-17", "10", "0.4", "10" }));
        Calculate();
        const std::vector<TCVPoint> points = ExamplePoints();
        QCOMPARE(points.size(), std::size_t(44));
        VerifyResultsShow(points);
        QCOMPARE(Lines(form_->Memo1).first(), QStringLiteral("1.268857754044952e-22"));
        QCOMPARE(Lines(form_->Memo2).last(), QStringLiteral("1.411631846414421e+42"));
        QCOMPARE(form_->Chart1->GetSeries(0)->XValue(43), 0.30000000000000243);

        Calculate(); // the same inputs again: the same points, once
        VerifyResultsShow(points);
        QVERIFY(reports_->messages.isEmpty());
        QCOMPARE(form_->PageControl1->currentIndex(), 0);
        QCOMPARE(Fields(), QStringList({ "10e-17", "10", "0.4", "10" }));
    }

    // The charts refresh once per command; that refresh must come before the frame that
    // follows the command, never after it.
    void the_first_frame_after_calculate_shows_the_new_points()
    {
        struct PaintProbe : QObject {
            QChart* chart;
            int pointsAtFirstPaint = -1;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint && pointsAtFirstPaint < 0)
                    pointsAtFirstPaint
                        = int(static_cast<QLineSeries*>(chart->series().first())->count());
                return false;
            }
        } probe;
        probe.chart = form_->Chart1->chart();
        form_->N2->trigger();
        QTest::qWait(20);
        form_->Chart1->viewport()->installEventFilter(&probe);
        Calculate();
        QTRY_VERIFY(probe.pointsAtFirstPaint >= 0);
        QCOMPARE(probe.pointsAtFirstPaint, 44);
    }

    void diffusion_potential_at_the_ladder_start_gives_nothing()
    {
        TypeInputs("1e-16", "10", "-4", "10");
        Calculate();
        VerifyResultsEmpty();
        QVERIFY(reports_->messages.isEmpty());
    }

    void text_that_is_no_number_reports_and_empties_results()
    {
        form_->N2->trigger();
        Calculate();
        TypeInputs("10e-17", "10", "abc", "xyz");
        Calculate();
        QCOMPARE(reports_->messages.size(), 1);
        // Edit3 ends the command: the report quotes its text, not Edit4's.
        QVERIFY2(reports_->messages[0].contains(QStringLiteral("「abc」")),
            qPrintable(reports_->messages[0]));
        VerifyResultsEmpty();
        QCOMPARE(Fields(), QStringList({ "10e-17", "10", "abc", "xyz" }));

        // The program goes on: mending the field and calculating again works.
        TypeInputs("10e-17", "10", "0.4", "10");
        Calculate();
        VerifyResultsShow(ExamplePoints());
        QCOMPARE(reports_->messages.size(), 1);
    }

    void calculate_with_empty_fields_reports_the_first_field()
    {
        Calculate();
        form_->N2->trigger();
        Calculate();
        form_->N1->trigger();
        Calculate();
        QCOMPARE(reports_->messages.size(), 2);
        for (const QString& m : reports_->messages)
            QVERIFY2(m.startsWith(QStringLiteral("「」")), qPrintable(m));
        VerifyResultsEmpty();
    }

    void sweep_faults_report_and_keep_earlier_points()
    {
        TypeInputs("-1", "10", "0.4", "10");
        Calculate();
        QCOMPARE(reports_->messages.size(), 1);
        QVERIFY2(reports_->messages[0].contains(QStringLiteral("V = -4"))
                && reports_->messages[0].contains(QStringLiteral("実数")),
            qPrintable(reports_->messages[0]));
        VerifyResultsEmpty();

        // C² leaves the double range part-way: the points before stay shown.
        TypeInputs("1", "1", "0", "1e169");
        Calculate();
        QCOMPARE(reports_->messages.size(), 2);
        QVERIFY(reports_->messages[1].contains(QStringLiteral("範囲")));
        std::vector<TCVPoint> shown;
        try {
            SweepCV(
                TJunctionInput { 1, 1, 0, 1e169 }, [&](const TCVPoint& p) { shown.push_back(p); });
        } catch (const SweepError&) {
        }
        QVERIFY(!shown.empty());
        VerifyResultsShow(shown);
    }

    // A sweep that fails part-way: the lines before the error are in the lists when the
    // error is reported, and a second 計算 shows them once, not twice.
    void lines_before_a_sweep_error_are_shown_once_per_command()
    {
        // C² leaves the double range at point 37 of this sweep.
        std::vector<TCVPoint> good;
        try {
            SweepCV(
                TJunctionInput { 1, 1, 0, 1e169 }, [&](const TCVPoint& p) { good.push_back(p); });
        } catch (const SweepError&) {
        }
        QCOMPARE(good.size(), std::size_t(37));
        TypeInputs("1", "1", "0", "1e169");
        for (int command = 1; command <= 2; ++command) {
            int linesAtReport[2] = { -1, -1 };
            ErrorReporter recorder = SetErrorReporter([&](const QString&) {
                linesAtReport[0] = int(Lines(form_->Memo1).size());
                linesAtReport[1] = int(Lines(form_->Memo2).size());
            });
            Calculate();
            SetErrorReporter(std::move(recorder));
            QCOMPARE(linesAtReport[0], int(good.size()));
            QCOMPARE(linesAtReport[1], int(good.size()));
            VerifyResultsShow(good);
        }
    }

    // The lists show the same text, line count and scroll position as if every line had
    // been appended on its own: a list beside it, filled that way, is the reference.
    void appended_lines_show_as_appended_one_by_one_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("lines");
        const QStringList many = [] {
            QStringList l;
            for (int i = 0; i < 80; ++i)
                l << QString::number(i * 1.5e-22, 'g', 16);
            return l;
        }();
        QTest::newRow("80 lines into an empty list") << QString() << many;
        QTest::newRow("after text the user typed") << QStringLiteral("typed\nby hand") << many;
        QTest::newRow("empty lines first, into an empty list")
            << QString() << QStringList { "", "", "a", "", "b" };
        QTest::newRow("empty lines after text") << QStringLiteral("x") << QStringList { "", "" };
        QTest::newRow("only empty lines") << QString() << QStringList { "", "" };
        QTest::newRow("line breaks inside lines")
            << QString() << QStringList { "a\nb", "c\r", "\nd", "e\r\nf" };
    }
    void appended_lines_show_as_appended_one_by_one()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, lines);
        QPlainTextEdit* list = form_->Memo1;
        QPlainTextEdit reference(list->parentWidget());
        reference.setGeometry(form_->Memo2->geometry());
        reference.setVerticalScrollBarPolicy(list->verticalScrollBarPolicy());
        reference.setLineWrapMode(list->lineWrapMode());
        reference.show();
        for (QPlainTextEdit* l : { list, &reference })
            l->setPlainText(before);
        QTest::qWait(20);
        HandleEvent([&] {
            for (const QString& line : lines)
                AppendLine(list, line);
        });
        for (const QString& line : lines)
            reference.appendPlainText(line);
        QTest::qWait(20);
        QCOMPARE(list->toPlainText(), reference.toPlainText());
        QCOMPARE(list->blockCount(), reference.blockCount());
        QCOMPARE(list->verticalScrollBar()->value(), reference.verticalScrollBar()->value());
    }

    // Lines appended outside any handler still show by the list's next paint, and a
    // clear drops the lines appended before it.
    void lines_appended_outside_a_handler_show_by_the_next_paint()
    {
        struct PaintProbe : QObject {
            QPlainTextEdit* list;
            QString textAtFirstPaint = QStringLiteral("(no paint)");
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint && textAtFirstPaint == "(no paint)")
                    textAtFirstPaint = list->toPlainText();
                return false;
            }
        } probe;
        probe.list = form_->Memo2;
        AppendLine(form_->Memo2, QStringLiteral("dropped"));
        ClearLines(form_->Memo2);
        AppendLine(form_->Memo2, QStringLiteral("1"));
        AppendLine(form_->Memo2, QStringLiteral("2"));
        form_->Memo2->viewport()->installEventFilter(&probe);
        form_->Memo2->viewport()->update();
        QTRY_VERIFY(probe.textAtFirstPaint != "(no paint)");
        QCOMPARE(probe.textAtFirstPaint, QStringLiteral("1\n2"));
    }

    void clear_empties_fields_lists_and_charts()
    {
        form_->N2->trigger();
        Calculate();
        form_->N1->trigger();
        QCOMPARE(Fields(), QStringList({ "", "", "", "" }));
        VerifyResultsEmpty();
        QVERIFY(Lines(form_->Memo1).isEmpty());
    }

    void example_after_calculate_changes_only_the_fields()
    {
        TypeInputs("2e-16", "12", "1", "5");
        Calculate();
        const QString before = form_->Memo1->toPlainText();
        const int points = form_->Chart1->GetSeries(0)->Count();
        QCOMPARE(points, 50);
        form_->N2->trigger();
        QCOMPARE(Fields(), QStringList({ "10e-17", "10", "0.4", "10" }));
        QCOMPARE(form_->Memo1->toPlainText(), before);
        QCOMPARE(form_->Chart2->GetSeries(0)->Count(), points);
    }

    void exit_closes_the_window()
    {
        QVERIFY(form_->isVisible());
        form_->Exit1->trigger();
        QVERIFY(!form_->isVisible());
        QVERIFY(reports_->messages.isEmpty());
    }

    void context_request_on_the_first_page_draws_the_line()
    {
        QSignalSpy requests(form_->TabSheet1, &QWidget::customContextMenuRequested);
        QCOMPARE(form_->GetCanvas().Pen.Width(), 1);
        // Over the page itself, then over its chart: both reach the page's handler.
        const QPoint onPage(5, 5);
        QContextMenuEvent overPage(
            QContextMenuEvent::Mouse, onPage, form_->TabSheet1->mapToGlobal(onPage));
        QApplication::sendEvent(form_->TabSheet1, &overPage);
        QWidget* chartViewport = form_->Chart1->viewport();
        const QPoint onChart(100, 100);
        QContextMenuEvent overChart(
            QContextMenuEvent::Mouse, onChart, chartViewport->mapToGlobal(onChart));
        QApplication::sendEvent(chartViewport, &overChart);
        QCOMPARE(requests.count(), 2);
        QCOMPARE(form_->GetCanvas().Pen.Width(), 2);
        QTest::qWait(50); // the line is painted with the next paint of the client area
        QVERIFY(reports_->messages.isEmpty());
    }
};

QTEST_MAIN(FormCommandsTest)
#include "FormCommandsTest.moc"
