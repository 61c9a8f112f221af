// SPDX-License-Identifier: GPL-3.0-or-later
// The window's commands, driven through its controls as a user would: menu actions,
// button clicks, typed text and context requests.
#include "TestSupport.h"
#include "calc/CapacitanceSweep.h"
#include "toolkit/Convert.h"
#include "ui/Unit1.h"

#include "GoldenSweep.h" // after the Qt headers, or moc trips over <concepts>

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>
#include <utility>

// The error report: the message box itself, and pastes through the clipboard.
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <bit>
#include <memory>
#include <vector>

namespace {

QStringList Lines(const QPlainTextEdit* list)
{
    const QString text = list->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

quint64 Bits(double x) { return std::bit_cast<quint64>(x); }

// The characters a field takes.
constexpr int kFieldBound = 4096;

// The client area's own surface alone, as one paint of `region` (all of it when empty)
// draws it: without the controls on it, which would hide what is drawn beneath them.
QImage RenderSurface(QWidget* surface, const QRegion& region = QRegion())
{
    QImage image(surface->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    surface->render(&image, region.boundingRect().topLeft(), region, QWidget::RenderFlags());
    return image;
}

// What is drawn in black on an image, row by row, as "y:first-last" column runs.
QStringList Strokes(const QImage& image)
{
    QStringList strokes;
    for (int y = 0; y < image.height(); ++y) {
        int first = -1;
        for (int x = 0; x <= image.width(); ++x) {
            const bool dark = x < image.width() && image.pixelColor(x, y) == QColor(Qt::black);
            if (dark && first < 0)
                first = x;
            if (!dark && first >= 0) {
                strokes << QStringLiteral("%1:%2-%3").arg(y).arg(first).arg(x - 1);
                first = -1;
            }
        }
    }
    return strokes;
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
    // Types the four inputs of a golden row as the table writes them.
    void TypeRow(const TGoldenRow& row)
    {
        const auto& t = row.inputText;
        TypeInputs(QString::fromStdString(t[0]), QString::fromStdString(t[1]),
            QString::fromStdString(t[2]), QString::fromStdString(t[3]));
    }
    void Calculate() { QTest::mouseClick(form_->Button1, Qt::LeftButton); }
    // Replaces the field's text with `text` through the clipboard, as a user pastes.
    static void Paste(QLineEdit* field, const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        field->selectAll();
        QTest::keySequence(field, QKeySequence::Paste);
    }
    // What the real report (the message box) showed for one rejected 計算.
    struct TShownReport {
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        Qt::TextFormat labelFormat = Qt::AutoText;
        QSize size;
        QPointer<QMessageBox> box;
    };
    TShownReport CalculateWithTheRealReport()
    {
        const ErrorReporter recorder = SetErrorReporter({});
        TShownReport shown;
        QTimer closer;
        closer.setInterval(5);
        connect(&closer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            shown.text = box->text();
            shown.format = box->textFormat();
            if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                shown.labelFormat = label->textFormat();
            shown.size = box->frameGeometry().size();
            shown.box = box;
            box->close();
        });
        closer.start();
        Calculate();
        closer.stop();
        SetErrorReporter(recorder);
        return shown;
    }
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
    // Line k of each list and point k of each series show point k of the golden table:
    // the lists its texts, the series its values bit for bit.
    void VerifyResultsShow(const std::vector<TGoldenPoint>& points)
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
            const TGoldenPoint& p = points[static_cast<std::size_t>(k)];
            QCOMPARE(c[k], QString::fromStdString(p.cText));
            QCOMPARE(inv[k], QString::fromStdString(p.invC2Text));
            QCOMPARE(Bits(StrToFloat(c[k])), Bits(p.C));
            QCOMPARE(Bits(StrToFloat(inv[k])), Bits(p.InvC2));
            QCOMPARE(Bits(s1->XValue(k)), Bits(p.V));
            QCOMPARE(Bits(s1->YValue(k)), Bits(p.C));
            QCOMPARE(Bits(s2->XValue(k)), Bits(p.V));
            QCOMPARE(Bits(s2->YValue(k)), Bits(p.InvC2));
            QCOMPARE(s1->PointAt(k).label, QString());
            QCOMPARE(s1->PointAt(k).color, DefaultSeriesColor);
        }
    }
    static const std::vector<TGoldenPoint>& ExamplePoints() { return GoldenRow("example").points; }

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
        const std::vector<TGoldenPoint>& points = ExamplePoints();
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

    // The focused 計算 button is pressed with Return or Enter too, as on the desktop the
    // window comes from, not only with Space.
    void keys_press_the_focused_calculate_button_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void keys_press_the_focused_calculate_button()
    {
        QFETCH(int, key);
        form_->N2->trigger();
        form_->Button1->setFocus(Qt::TabFocusReason);
        QVERIFY(form_->Button1->hasFocus());
        QTest::keyClick(form_->Button1, static_cast<Qt::Key>(key));
        VerifyResultsShow(ExamplePoints());
        QVERIFY(reports_->messages.isEmpty());
    }

    // The charts refresh once per command; that refresh must come before the frame that
    // follows the command, never after it, even when a repaint of the chart is already
    // waiting as the command runs.
    void the_first_frame_after_calculate_shows_the_new_points()
    {
        struct PaintProbe : QObject {
            TChart* chart;
            QString topLabelAtFirstPaint;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint && topLabelAtFirstPaint.isNull())
                    topLabelAtFirstPaint = chart->ScaleY().ticks.back().label;
                return false;
            }
        } probe;
        probe.chart = form_->Chart1;
        form_->N2->trigger();
        QTest::qWait(20);
        // Released comes just before the click that runs the command.
        connect(
            form_->Button1, &QPushButton::released, form_->Chart1, qOverload<>(&QWidget::update));
        form_->Chart1->installEventFilter(&probe);
        Calculate();
        QTRY_VERIFY(!probe.topLabelAtFirstPaint.isNull());
        QCOMPARE(probe.topLabelAtFirstPaint, QStringLiteral("1e-21")); // before: "1.0"
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

    // The report shows its message as plain text: markup in a typed text is quoted as
    // typed, and the box is as small as for any other text. It is gone once closed.
    void markup_in_a_field_is_quoted_verbatim_in_a_plain_text_report()
    {
        const QString texts[] = { QStringLiteral("<p style=\"font-size:400px\">1"),
            QStringLiteral("<img src=x width=3000 height=2000>"), QStringLiteral("<b>1</b>"),
            QStringLiteral("&lt;1") };
        for (const QString& text : texts) {
            TypeInputs(text, "10", "0.4", "10");
            const TShownReport shown = CalculateWithTheRealReport();
            QCOMPARE(shown.text, QStringLiteral("「%1」は数値として読めません。").arg(text));
            QCOMPARE(shown.format, Qt::PlainText);
            QCOMPARE(shown.labelFormat, Qt::PlainText);
            QVERIFY2(shown.size.height() < 300 && shown.size.width() < 800,
                qPrintable(
                    QStringLiteral("%1x%2").arg(shown.size.width()).arg(shown.size.height())));
            QVERIFY(shown.box.isNull());
            VerifyResultsEmpty();
        }
        QVERIFY(reports_->messages.isEmpty());
    }

    void invisible_characters_are_quoted_visibly()
    {
        const struct {
            QString pasted;
            QString quote;
        } cases[] = {
            { QString::fromUtf16(u"0\0004", 3), QStringLiteral("0<NUL>4") },
            { QStringLiteral("1\u200b0"), QStringLiteral("1<U+200B>0") },
            { QStringLiteral("1\u00a00"), QStringLiteral("1<U+00A0>0") },
            { QStringLiteral("0.\n4"), QStringLiteral("0.<LF>4") },
        };
        for (const auto& c : cases) {
            form_->N2->trigger();
            Paste(form_->Edit2, c.pasted);
            QCOMPARE(form_->Edit2->text(), c.pasted);
            Calculate();
            QCOMPARE(reports_->messages.size(), 1);
            QCOMPARE(reports_->messages.takeFirst(),
                QStringLiteral("「%1」は数値として読めません。").arg(c.quote));
            VerifyResultsEmpty();
        }
        // The same through the message box.
        Paste(form_->Edit2, QString::fromUtf16(u"0\0004", 3));
        QCOMPARE(CalculateWithTheRealReport().text,
            QStringLiteral("「0<NUL>4」は数値として読めません。"));
    }

    // Copied list lines and spreadsheet cells bring line ends and no-break spaces along.
    void pasted_numbers_with_blanks_around_them_are_accepted_and_kept_as_pasted()
    {
        const QStringList pasted = { QStringLiteral("10e-17\n"), QStringLiteral("\u00a010\u00a0"),
            QStringLiteral("0.4\r\n"), QStringLiteral("\t10\r") };
        QLineEdit* edits[] = { form_->Edit1, form_->Edit2, form_->Edit3, form_->Edit4 };
        for (int i = 0; i < 4; ++i)
            Paste(edits[i], pasted[i]);
        Calculate();
        QVERIFY2(reports_->messages.isEmpty(), qPrintable(reports_->messages.join('\n')));
        VerifyResultsShow(ExamplePoints());
        QCOMPARE(Fields(), pasted);
    }

    // A field takes 4096 characters; a text of that length is kept whole, and reported
    // with the quote's cut.
    void a_paste_of_the_full_length_is_kept_whole_and_reported()
    {
        // Every prefix of it reads as zero: a cut field would be accepted silently.
        const QString text = QStringLiteral("0.") + QString(4093, QLatin1Char('0')) + u'x';
        QCOMPARE(text.size(), kFieldBound);
        form_->N2->trigger();
        Paste(form_->Edit1, text);
        QCOMPARE(form_->Edit1->text(), text);
        Calculate();
        QCOMPARE(reports_->messages,
            QStringList(
                QStringLiteral("「0.%1…」は数値として読めません。").arg(QString(38, u'0'))));
        VerifyResultsEmpty();
        QCOMPARE(form_->Edit1->text(), text);
    }

    // What goes beyond a field's 4096 characters is refused whole, never cut: the field
    // keeps what it had, and one report says why.
    void an_edit_beyond_the_bound_is_refused_whole_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<int>("pasted");
        QTest::addColumn<bool>("taken");
        // The pasted text is digits: any cut of it would read as a number.
        QTest::newRow("empty field, one too many") << "Edit1"
                                                   << "" << true << 4097 << false;
        QTest::newRow("empty field, just fits") << "Edit2"
                                                << "" << true << 4096 << true;
        QTest::newRow("over a selection, one too many") << "Edit3"
                                                        << "0.4" << true << 4097 << false;
        QTest::newRow("appended, one too many") << "Edit4"
                                                << "12345" << false << 4092 << false;
        QTest::newRow("appended, just fits") << "Edit4"
                                             << "12345" << false << 4091 << true;
        QTest::newRow("8 MB") << "Edit1"
                              << "10e-17" << true << 8 * 1024 * 1024 << false;
    }
    void an_edit_beyond_the_bound_is_refused_whole()
    {
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(bool, selectAll);
        QFETCH(int, pasted);
        QFETCH(bool, taken);
        auto* edit = form_->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        edit->setText(before);
        const QString text(pasted, QLatin1Char('1'));
        QGuiApplication::clipboard()->setText(text);
        if (selectAll)
            edit->selectAll();
        else
            edit->end(false);
        QTest::keySequence(edit, QKeySequence::Paste);
        const QString after = selectAll ? text : before + text;
        if (taken) {
            QCOMPARE(edit->text(), after);
            QTest::qWait(20);
            QVERIFY(reports_->messages.isEmpty());
            return;
        }
        QCOMPARE(edit->text(), before);
        QTRY_COMPARE(reports_->messages.size(), 1);
        QCOMPARE(reports_->messages[0],
            QStringLiteral("「%1」の欄には 4096 文字までしか入りません。それを超える貼り付けや"
                           "入力は受け付けませんでした。欄の内容は元のままです。")
                .arg(edit->accessibleName()));
        // The field goes on taking what fits, and undo finds nothing of the refused paste.
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), before);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("7"));
        QCOMPARE(edit->text(), QStringLiteral("7"));
        QTest::qWait(20);
        QCOMPARE(reports_->messages.size(), 1);
    }

    // Typing at the bound is refused key by key, each time with the report, and never
    // replaces or drops what the field holds.
    void typing_beyond_the_bound_is_refused_and_reported()
    {
        const QString full(kFieldBound, QLatin1Char('5'));
        Paste(form_->Edit2, full);
        QCOMPARE(form_->Edit2->text(), full);
        QTest::keyClick(form_->Edit2, Qt::Key_6);
        QCOMPARE(form_->Edit2->text(), full);
        QTRY_COMPARE(reports_->messages.size(), 1);
        QVERIFY2(
            reports_->messages[0].contains(QStringLiteral("「比誘電率 εs」の欄には 4096 文字")),
            qPrintable(reports_->messages[0]));
        QTest::keyClick(form_->Edit2, Qt::Key_7);
        QCOMPARE(form_->Edit2->text(), full);
        QTRY_COMPARE(reports_->messages.size(), 2);
        // Making room lets the key in.
        QTest::keyClick(form_->Edit2, Qt::Key_Backspace);
        QTest::keyClick(form_->Edit2, Qt::Key_8);
        QCOMPARE(form_->Edit2->text(), full.chopped(1) + u'8');
        QTest::qWait(20);
        QCOMPARE(reports_->messages.size(), 2);
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
        const TGoldenRow& overflow = GoldenRow("overflow_after_good_points");
        TypeRow(overflow);
        Calculate();
        QCOMPARE(reports_->messages.size(), 2);
        QVERIFY(reports_->messages[1].contains(QStringLiteral("範囲")));
        QCOMPARE(overflow.points.size(), std::size_t(44));
        VerifyResultsShow(overflow.points);

        // 1/C² falls among the subnormals part-way: reported the same way.
        const TGoldenRow& precision = GoldenRow("precision_lost_after_good_points");
        TypeRow(precision);
        Calculate();
        QCOMPARE(reports_->messages.size(), 3);
        QVERIFY2(reports_->messages[2].contains(QStringLiteral("精度が失われました")),
            qPrintable(reports_->messages[2]));
        QCOMPARE(precision.points.size(), std::size_t(25));
        VerifyResultsShow(precision.points);
    }

    // Each named input of the golden table, typed in: every point it has in the table,
    // and one report where the table has the sweep stop early.
    void golden_inputs_show_their_points_data()
    {
        QTest::addColumn<QString>("name");
        for (const TGoldenRow& row : GoldenSweep())
            if (!row.IsRandom())
                QTest::newRow(row.name.c_str()) << QString::fromStdString(row.name);
    }
    void golden_inputs_show_their_points()
    {
        QFETCH(QString, name);
        const TGoldenRow& row = GoldenRow(name.toStdString());
        TypeRow(row);
        Calculate();
        VerifyResultsShow(row.points);
        QCOMPARE(reports_->messages.size(), row.fault ? 1 : 0);
    }

    // A sweep that fails part-way: the lines before the error are in the lists when the
    // error is reported, and a second 計算 shows them once, not twice.
    void lines_before_a_sweep_error_are_shown_once_per_command()
    {
        // C² leaves the double range at point 44 of this sweep.
        const TGoldenRow& overflow = GoldenRow("overflow_after_good_points");
        const std::vector<TGoldenPoint>& good = overflow.points;
        QCOMPARE(good.size(), std::size_t(44));
        TypeRow(overflow);
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
        QTest::newRow("80 lines, each wrapped")
            << QString() << QStringList(80, QStringLiteral("-1.23456789012345E-100 -1.2E-100"));
        QTest::newRow("after text the user typed") << QStringLiteral("typed\nby hand") << many;
        QTest::newRow("after a long text, the view at its top")
            << QStringList(40, QStringLiteral("typed")).join('\n') << many;
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
        reference.setWordWrapMode(list->wordWrapMode());
        reference.setFont(list->font());
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
        // The same lines in view: the text under the view's first and last rows. Where
        // lines wrap, the scroll bar's value may differ, as the list lays out only the
        // lines it shows.
        const auto shown = [](QPlainTextEdit& l) {
            const int bottom = l.viewport()->height() - 3;
            return std::pair { l.cursorForPosition(QPoint(3, 3)).position(),
                l.cursorForPosition(QPoint(3, bottom)).position() };
        };
        QCOMPARE(shown(*list), shown(reference));
        QCOMPARE(list->verticalScrollBar()->value() == list->verticalScrollBar()->maximum(),
            reference.verticalScrollBar()->value() == reference.verticalScrollBar()->maximum());
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

    // With the chart out of the way, the whole line shows on the surface.
    void context_request_on_the_first_page_draws_the_line()
    {
        form_->Chart1->hide();
        QSignalSpy requests(form_->TabSheet1, &QWidget::customContextMenuRequested);
        QCOMPARE(form_->GetCanvas().Pen.Width(), 1);
        // Over the page itself, then over its chart: both reach the page's handler.
        const QPoint onPage(5, 5);
        QContextMenuEvent overPage(
            QContextMenuEvent::Mouse, onPage, form_->TabSheet1->mapToGlobal(onPage));
        QApplication::sendEvent(form_->TabSheet1, &overPage);
        const QPoint onChart(100, 100);
        QContextMenuEvent overChart(
            QContextMenuEvent::Mouse, onChart, form_->Chart1->mapToGlobal(onChart));
        QApplication::sendEvent(form_->Chart1, &overChart);
        QCOMPARE(requests.count(), 2);
        QCOMPARE(form_->GetCanvas().Pen.Width(), 2);
        // The line and nothing else on the client area's surface, in client coordinates:
        // two rows high for the pen width 2, from x = 10 to its flat end at 250.
        QWidget* surface = form_->centralWidget();
        QCOMPARE(Strokes(RenderSurface(surface)), QStringList({ "299:10-249", "300:10-249" }));
        // Drawn once: a later paint no longer shows it.
        QCOMPARE(Strokes(RenderSurface(surface)), QStringList());
        QTest::qWait(50); // the line is painted with the next paint of the client area
        QVERIFY(reports_->messages.isEmpty());
    }

    void the_line_waits_for_a_paint_that_covers_it()
    {
        form_->Chart1->hide();
        const QPoint onPage(5, 5);
        QContextMenuEvent request(
            QContextMenuEvent::Mouse, onPage, form_->TabSheet1->mapToGlobal(onPage));
        QApplication::sendEvent(form_->TabSheet1, &request);
        QWidget* surface = form_->centralWidget();
        // A paint away from the line draws none of it; one over its left part draws that.
        QCOMPARE(Strokes(RenderSurface(surface, QRect(0, 0, 100, 100))), QStringList());
        QCOMPARE(Strokes(RenderSurface(surface, QRect(0, 280, 130, 40))),
            QStringList({ "299:10-129", "300:10-129" }));
        // The next paint of the whole area draws the rest, and after that nothing is left.
        QCOMPARE(Strokes(RenderSurface(surface)), QStringList({ "299:130-249", "300:130-249" }));
        QCOMPARE(Strokes(RenderSurface(surface)), QStringList());
        QCOMPARE(form_->GetCanvas().PendingLines(), 0U);
        QVERIFY(reports_->messages.isEmpty());
    }

    // The chart paints its whole area, so no paint of the surface ever shows what lies
    // under it: that part is drawn nowhere and not kept, and a line wholly under it is
    // not kept at all. Hiding the chart afterwards shows nothing of either.
    void what_lies_under_the_chart_is_not_kept()
    {
        QWidget* surface = form_->centralWidget();
        const QRect chart(form_->Chart1->mapTo(surface, QPoint(0, 0)), form_->Chart1->size());
        QVERIFY(
            chart.left() > 10 && chart.right() > 250 && chart.top() < 298 && chart.bottom() > 302);
        const QPoint onPage(5, 5);
        QContextMenuEvent request(
            QContextMenuEvent::Mouse, onPage, form_->TabSheet1->mapToGlobal(onPage));
        QApplication::sendEvent(form_->TabSheet1, &request);
        const QString left = QStringLiteral("10-%1").arg(chart.left() - 1);
        QCOMPARE(Strokes(RenderSurface(surface)), QStringList({ "299:" + left, "300:" + left }));
        QCOMPARE(form_->GetCanvas().PendingLines(), 0U);

        TCanvas& canvas = form_->GetCanvas();
        canvas.MoveTo(chart.left() + 20, chart.top() + 20);
        canvas.LineTo(chart.right() - 20, chart.bottom() - 20);
        QCOMPARE(canvas.PendingLines(), 0U);
        form_->Chart1->hide();
        QCOMPARE(Strokes(RenderSurface(surface)), QStringList());

        // The same once the chart comes over a line waiting for its paint: the window's
        // next paint leaves the chart's area out, and what lay there is gone with it.
        QApplication::sendEvent(form_->TabSheet1, &request);
        QCOMPARE(canvas.PendingLines(), 1U);
        form_->Chart1->show();
        surface->repaint();
        QCOMPARE(canvas.PendingLines(), 0U);
        form_->Chart1->hide();
        QCOMPARE(Strokes(RenderSurface(surface)), QStringList());
        QVERIFY(reports_->messages.isEmpty());
    }

    // A surface that is not painted keeps only the lines of the last command: an earlier
    // command's line is gone by the time it shows.
    void only_the_last_commands_lines_wait_for_a_paint()
    {
        form_->Chart1->hide();
        form_->hide();
        const QPoint onPage(5, 5);
        for (int i = 0; i < 3; ++i) {
            QContextMenuEvent request(
                QContextMenuEvent::Mouse, onPage, form_->TabSheet1->mapToGlobal(onPage));
            QApplication::sendEvent(form_->TabSheet1, &request);
            QCOMPARE(form_->GetCanvas().PendingLines(), 1U);
            QTest::qWait(1);
        }
        // The next command draws two lines in one handler.
        TCanvas& canvas = form_->GetCanvas();
        HandleEvent([&] {
            canvas.MoveTo(20, 400);
            canvas.LineTo(60, 400);
            canvas.LineTo(60, 420);
        });
        QCOMPARE(canvas.PendingLines(), 2U);
        // An L two pixels wide, flat ends: rows 399-400 from x = 20 up to 60, and
        // columns 59-60 from y = 400 down to 420.
        QStringList shape { "399:20-59", "400:20-60" };
        for (int y = 401; y < 420; ++y)
            shape << QStringLiteral("%1:59-60").arg(y);
        QCOMPARE(Strokes(RenderSurface(form_->centralWidget())), shape);
        QVERIFY(reports_->messages.isEmpty());
    }
};

QTEST_MAIN(FormCommandsTest)
#include "FormCommandsTest.moc"
