// SPDX-License-Identifier: GPL-3.0-or-later
// The window as stored in its form: controls, places, captions, fonts, tab order,
// menu, charts and their axes.
#include "TestSupport.h"
#include "ui/Unit1.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QtTest>

#include <memory>

class FormLayoutTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TWarningTrap> trap_;
    std::unique_ptr<TForm1> form_;

private slots:
    void initTestCase() { InstallFontSubstitutions(); }
    void init()
    {
        trap_ = std::make_unique<TWarningTrap>();
        form_ = std::make_unique<TForm1>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup()
    {
        form_.reset();
        const QStringList warnings = trap_->Take();
        trap_.reset();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("pixelHeight");
        QTest::addColumn<QString>("family");
        auto row = [](const char* n, QRect r, const QString& c, int h, const QString& f) {
            QTest::newRow(n) << QString::fromLatin1(n) << r << c << h << f;
        };
        const QString mincho = QStringLiteral("ＭＳ Ｐ明朝");
        const QString gothic = QStringLiteral("ＭＳ Ｐゴシック");
        row("Label1", { 454, 56, 114, 19 }, QStringLiteral("ドナー密度　N"), 19, mincho);
        row("Label2", { 454, 107, 108, 19 }, QStringLiteral("比誘電率　ε"), 19, mincho);
        row("Label3", { 454, 157, 102, 19 }, QStringLiteral("拡散電位　V"), 19, mincho);
        row("Label4", { 454, 208, 99, 19 }, QStringLiteral("電極面積　S"), 19, mincho);
        row("Label5", { 571, 64, 7, 12 }, QStringLiteral("ｄ"), 12, gothic);
        row("Label6", { 558, 117, 7, 12 }, QStringLiteral("ｓ"), 12, gothic);
        row("Label7", { 558, 162, 7, 12 }, QStringLiteral("ｄ"), 12, gothic);
        row("PageControl1", { 10, 42, 400, 423 }, QString(), 12, gothic);
        row("Edit1", { 593, 56, 105, 20 }, QStringLiteral("10e-17"), 12, gothic);
        row("Edit2", { 593, 112, 105, 20 }, QStringLiteral("10"), 12, gothic);
        row("Edit3", { 593, 160, 105, 20 }, QStringLiteral("0.4"), 12, gothic);
        row("Edit4", { 593, 208, 105, 20 }, QStringLiteral("10"), 12, gothic);
        row("Button1", { 520, 472, 75, 25 }, QStringLiteral("計算"), 12, gothic);
        row("Memo1", { 464, 264, 145, 169 }, QString(), 12, gothic);
        row("Memo2", { 648, 264, 145, 169 }, QString(), 12, gothic);
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QFETCH(int, pixelHeight);
        QFETCH(QString, family);
        auto* w = form_->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(w->parentWidget(), form_->centralWidget());
        QCOMPARE(w->geometry(), geometry);
        QCOMPARE(w->font().pixelSize(), pixelHeight);
        QCOMPARE(StoredFontName(w), family);
        // The Windows font names resolve to the installed IPA fonts, and each control
        // asks for the installed family by a name of its own, not by the Windows name.
        // The font system names a family in the desktop's language ("IPA P明朝" on a
        // Japanese desktop): the fonts are compared with the IPA font asked for by name.
        const QString ipa = family == QStringLiteral("ＭＳ Ｐ明朝") ? QStringLiteral("IPAPMincho")
                                                                    : QStringLiteral("IPAPGothic");
        QCOMPARE(QFontInfo(w->font()).family(), QFontInfo(QFont(ipa)).family());
        QCOMPARE(w->font().family(), ipa);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            QCOMPARE(label->text(), caption);
            // The installed fonts run wider than the design fonts: the whole caption
            // must still fit inside the label's stored width.
            const int needed = QFontMetrics(label->font()).horizontalAdvance(caption);
            QVERIFY2(needed <= label->width(),
                qPrintable(
                    QStringLiteral("%1: %2 px in %3").arg(name).arg(needed).arg(label->width())));
        } else if (auto* edit = qobject_cast<QLineEdit*>(w))
            QCOMPARE(edit->text(), caption); // design text; emptied by the creation event
        else if (auto* button = qobject_cast<QPushButton*>(w))
            QCOMPARE(button->text(), caption);
    }

    void mincho_labels_use_a_mincho_font()
    {
        // The family's English and Japanese names, whichever the desktop lists it by.
        const QStringList mincho { "IPAPMincho", "IPA P明朝" };
        const QStringList gothic { "IPAPGothic", "IPA Pゴシック" };
        QVERIFY2(mincho.contains(QFontInfo(form_->Label1->font()).family()),
            qPrintable(QFontInfo(form_->Label1->font()).family()));
        QVERIFY2(gothic.contains(QFontInfo(form_->Edit1->font()).family()),
            qPrintable(QFontInfo(form_->Edit1->font()).family()));
        // Each stored name has one substitute, the installed font that is used (Qt keeps
        // substitutes in lower case).
        QCOMPARE(QFont::substitutes(QStringLiteral("ＭＳ Ｐ明朝")), QStringList { "ipapmincho" });
        QCOMPARE(
            QFont::substitutes(QStringLiteral("ＭＳ Ｐゴシック")), QStringList { "ipapgothic" });
    }

    void window()
    {
        QCOMPARE(form_->windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(form_->pos(), QPoint(195, 136));
        QCOMPARE(form_->centralWidget()->size(), QSize(811, 508));
        QCOMPARE(form_->menuBar(), form_->MainMenu1);
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("place");
        const QRect designed(195, 136, 819, 554);
        QTest::newRow("fits") << designed << QRect(0, 0, 1920, 1080) << QPoint(195, 136);
        QTest::newRow("fits exactly") << designed << QRect(195, 136, 819, 554) << QPoint(195, 136);
        QTest::newRow("too far right") << designed << QRect(0, 0, 1000, 700) << QPoint(181, 136);
        QTest::newRow("too low") << designed << QRect(0, 0, 1280, 600) << QPoint(195, 46);
        QTest::newRow("wider than the screen")
            << designed << QRect(0, 0, 800, 800) << QPoint(0, 136);
        QTest::newRow("larger both ways") << designed << QRect(0, 0, 960, 540) << QPoint(141, 0);
        QTest::newRow("panel at the top")
            << QRect(195, 10, 819, 554) << QRect(0, 32, 1366, 736) << QPoint(195, 32);
        QTest::newRow("panel on the left and a small screen")
            << designed << QRect(48, 0, 700, 500) << QPoint(48, 0);
        QTest::newRow("second screen")
            << QRect(1800, 136, 819, 554) << QRect(1920, 0, 1280, 1024) << QPoint(1920, 136);
    }
    void placement()
    {
        QFETCH(QRect, frame);
        QFETCH(QRect, available);
        QFETCH(QPoint, place);
        QCOMPARE(PlaceOnScreen(frame, available), place);
    }

    // The real window on the screen the test runs on (see tests/CMakeLists.txt).
    void window_within_reach()
    {
        const QSize screen = form_->screen()->availableGeometry().size();
        const QMap<QString, QPoint> places { { "1920x1080", QPoint(195, 136) },
            { "960x540", QPoint(141, 0) }, { "800x800", QPoint(0, 136) } };
        const QString key = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
        QVERIFY2(places.contains(key), qPrintable(key));
        QCOMPARE(form_->pos(), places[key]);
        QCOMPARE(form_->centralWidget()->size(), QSize(811, 508));
    }

    void tab_order()
    {
        const QList<QWidget*> expected { form_->PageControl1, form_->Edit1, form_->Edit2,
            form_->Edit3, form_->Edit4, form_->Button1, form_->Memo1, form_->Memo2 };
        for (int i = 0; i + 1 < expected.size(); ++i) {
            QWidget* next = expected[i]->nextInFocusChain();
            while (next && next->focusPolicy() == Qt::NoFocus)
                next = next->nextInFocusChain();
            // Focus may pass through the page's own children before reaching the next
            // control of the window.
            while (next && expected[i]->isAncestorOf(next))
                next = next->nextInFocusChain();
            while (next && next->focusPolicy() == Qt::NoFocus)
                next = next->nextInFocusChain();
            QCOMPARE(next, expected[i + 1]);
        }
    }

    // Tab and Shift+Tab leave a list for the neighbouring control of the stored order;
    // the list's text gets no tab character.
    void tab_leaves_the_lists_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("to");
        QTest::newRow("Tab from Memo1") << "Memo1" << Qt::KeyboardModifiers() << "Memo2";
        QTest::newRow("Shift+Tab from Memo1")
            << "Memo1" << Qt::KeyboardModifiers(Qt::ShiftModifier) << "Button1";
        QTest::newRow("Tab from Memo2") << "Memo2" << Qt::KeyboardModifiers() << "PageControl1";
        QTest::newRow("Shift+Tab from Memo2")
            << "Memo2" << Qt::KeyboardModifiers(Qt::ShiftModifier) << "Memo1";
    }
    void tab_leaves_the_lists()
    {
        QFETCH(QString, from);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, to);
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        auto* memo = form_->findChild<QPlainTextEdit*>(from);
        auto* target = form_->findChild<QWidget*>(to);
        QVERIFY(memo && target);
        AppendLine(memo, QStringLiteral("8.416650165000427e-22"));
        const QString text = memo->toPlainText();
        memo->setFocus(Qt::TabFocusReason);
        QVERIFY(memo->hasFocus());
        QTest::keyClick(memo, Qt::Key_Tab, modifiers);
        QCOMPARE(memo->toPlainText(), text);
        QVERIFY2(target->hasFocus() || target->isAncestorOf(QApplication::focusWidget()),
            qPrintable(QApplication::focusWidget()->objectName()));
    }

    // Each control reached by Tab looks different from the same control without focus:
    // the fields' and the button's frames, the page control's tab, and a frame drawn
    // around a list (outside it, where no caret can be).
    void focus_is_visible_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("around"); // look only at the band just outside the control
        QTest::newRow("page control") << "PageControl1" << false;
        QTest::newRow("field") << "Edit1" << false;
        QTest::newRow("button") << "Button1" << false;
        QTest::newRow("C list") << "Memo1" << true;
        QTest::newRow("1/C² list") << "Memo2" << true;
    }
    void focus_is_visible()
    {
        QFETCH(QString, name);
        QFETCH(bool, around);
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        auto* control = form_->findChild<QWidget*>(name);
        QVERIFY(control);
        // Reach the control by Tab, from the control before it in the stored order.
        QWidget* before = control->previousInFocusChain();
        while (before->focusPolicy() == Qt::NoFocus || control->isAncestorOf(before))
            before = before->previousInFocusChain();
        before->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(before, Qt::Key_Tab);
        QVERIFY(control->hasFocus() || control->isAncestorOf(QApplication::focusWidget()));
        const QRect area = QRect(control->mapTo(form_.get(), QPoint(0, 0)), control->size());
        auto look = [&] {
            QImage image = form_->grab(area.adjusted(-3, -3, 3, 3)).toImage();
            if (around) {
                QPainter painter(&image);
                painter.fillRect(QRect(QPoint(3, 3), area.size()), Qt::magenta);
            }
            return image;
        };
        const QImage focused = look();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        QVERIFY(!control->hasFocus() && !control->isAncestorOf(QApplication::focusWidget()));
        QVERIFY(focused != look());
    }

    void lists_and_pages()
    {
        for (QPlainTextEdit* memo : { form_->Memo1, form_->Memo2 }) {
            QCOMPARE(memo->blockCount(), 1); // one empty line
            QCOMPARE(memo->toPlainText(), QString());
            QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
            QCOMPARE(memo->wordWrapMode(), QTextOption::WrapAnywhere);
            QVERIFY(memo->tabChangesFocus());
            QVERIFY(!memo->isReadOnly());
        }
        QCOMPARE(form_->PageControl1->count(), 2);
        QCOMPARE(form_->PageControl1->currentWidget(), form_->TabSheet1);
        QCOMPARE(form_->PageControl1->tabText(0), QStringLiteral("TabSheet1"));
        QCOMPARE(form_->PageControl1->tabText(1), QStringLiteral("TabSheet2"));
        QCOMPARE(form_->Chart1->parentWidget(), form_->TabSheet1);
        QCOMPARE(form_->Chart2->parentWidget(), form_->TabSheet2);
        QCOMPARE(form_->TabSheet1->contextMenuPolicy(), Qt::CustomContextMenu);
    }

    // Every text a result can have stays on one row of the list, the longest among them
    // (17 digits with a three-digit exponent, or after four zeros): a number broken
    // across rows would read as two. A longer line wraps at the list's edge, so that
    // every character is visible without scrolling sideways.
    void lists_show_whole_numbers()
    {
        // Shortest round-trip texts of doubles (checked with Python's repr).
        const QStringList values { QStringLiteral("-1.2345678901234568e-300"),
            QStringLiteral("-1.7976931348623157e+308"), QStringLiteral("-8.8158594848236885e-103"),
            QStringLiteral("-0.00012345678901234567"), QStringLiteral("0.30000000000000004"),
            QStringLiteral("-4"), QString(40, QLatin1Char('8')) };
        for (QPlainTextEdit* memo : { form_->Memo1, form_->Memo2 }) {
            HandleEvent([&] {
                ClearLines(memo);
                for (const QString& v : values)
                    AppendLine(memo, v);
            });
            QCOMPARE(memo->toPlainText().split(QLatin1Char('\n')), values);
            QVERIFY(!memo->horizontalScrollBar()->isVisible());
            const int viewportWidth = memo->viewport()->width();
            QAbstractTextDocumentLayout* layout = memo->document()->documentLayout();
            int wrapped = 0;
            for (QTextBlock block = memo->document()->begin(); block.isValid();
                 block = block.next()) {
                const QRectF box = layout->blockBoundingRect(block); // lays the block out
                const QTextLayout* lines = block.layout();
                QVERIFY(lines->lineCount() > 0);
                wrapped += lines->lineCount() > 1;
                for (int i = 0; i < lines->lineCount(); ++i) {
                    const QTextLine line = lines->lineAt(i);
                    const qreal right = box.left() + line.x() + line.naturalTextWidth();
                    QVERIFY2(right <= viewportWidth,
                        qPrintable(QStringLiteral("%1: line %2 ends at %3, viewport %4")
                                       .arg(block.text())
                                       .arg(i)
                                       .arg(right)
                                       .arg(viewportWidth)));
                }
            }
            QCOMPARE(wrapped, 1); // the long line, and no number
            // Selecting a line and copying it yields the number whole.
            QTextCursor cursor(memo->document()->findBlockByNumber(1));
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            memo->setTextCursor(cursor);
            memo->copy();
            QCOMPARE(QGuiApplication::clipboard()->text(), values[1]);
        }
    }

    // What a screen reader says for each field and list, and which caption labels it.
    void accessible_names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("unit"); // the SI unit that gives C in farads
        QTest::newRow("Nd") << "Edit1" << QStringLiteral("ドナー密度 Nd") << "Label1"
                            << QStringLiteral("（m⁻³）");
        QTest::newRow("εs") << "Edit2" << QStringLiteral("比誘電率 εs") << "Label2"
                            << QStringLiteral("（単位なし）");
        QTest::newRow("Vd") << "Edit3" << QStringLiteral("拡散電位 Vd") << "Label3"
                            << QStringLiteral("（V）");
        QTest::newRow("S") << "Edit4" << QStringLiteral("電極面積 S") << "Label4"
                           << QStringLiteral("（m²）");
        QTest::newRow("C list") << "Memo1" << QStringLiteral("C") << QString() << QString();
        QTest::newRow("1/C² list") << "Memo2" << QStringLiteral("1/C²") << QString() << QString();
    }
    void accessible_names()
    {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QFETCH(QString, label);
        QFETCH(QString, unit);
        auto* control = form_->findChild<QWidget*>(name);
        QVERIFY(control);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), spoken);
        // A field says its unit where the pointer rests on it and to a screen reader,
        // with what the results then come out in.
        if (!unit.isEmpty()) {
            for (const QString& told : { control->toolTip(), a->text(QAccessible::Description) }) {
                QVERIFY2(told.contains(unit) && told.contains(QStringLiteral("C は F")),
                    qPrintable(told));
            }
        }
        if (label.isEmpty())
            return;
        auto* caption = form_->findChild<QLabel*>(label);
        QCOMPARE(caption->buddy(), control);
        QAccessibleInterface* labelling = QAccessible::queryAccessibleInterface(caption);
        bool labelled = false;
        for (const auto& [other, relation] : a->relations(QAccessible::Label))
            labelled = labelled || other == labelling;
        QVERIFY(labelled);
    }

    void menu()
    {
        const QList<QAction*> bar = form_->MainMenu1->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->menu(), form_->Show1);
        QCOMPARE(form_->Show1->title(), QStringLiteral("表示"));
        QCOMPARE(bar[1], form_->Exit1);
        QCOMPARE(form_->Exit1->text(), QStringLiteral("終了"));
        QVERIFY(!form_->Exit1->menu());
        const QList<QAction*> show = form_->Show1->actions();
        QCOMPARE(show.size(), 2);
        QCOMPARE(show[0], form_->N2);
        QCOMPARE(form_->N2->text(), QStringLiteral("例入力"));
        QCOMPARE(show[1], form_->N1);
        QCOMPARE(form_->N1->text(), QStringLiteral("クリア"));
    }

    void charts_data()
    {
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QString>("title");
        QTest::newRow("Chart1") << "Chart1" << QStringLiteral("C-V特性");
        QTest::newRow("Chart2") << "Chart2" << QStringLiteral("1/C^2-V特性");
    }
    void charts()
    {
        QFETCH(QString, chart);
        QFETCH(QString, title);
        auto* c = form_->findChild<TChart*>(chart);
        QVERIFY(c);
        QCOMPARE(c->geometry(), QRect(24, 48, 337, 249));
        QCOMPARE(c->title(), title);
        QCOMPARE(c->backColor(), QColor(Qt::white));
        QCOMPARE(c->backWallColor(), QColor(Qt::white));
        QVERIFY(!c->legendVisible());
        QCOMPARE(c->SeriesCount(), 1);
        QCOMPARE(c->GetSeries(0)->SeriesColor(), QColor(Qt::red));
        QCOMPARE(c->GetSeries(0)->Count(), 0);
        // The tooltip names every reading tool; the screen reader still hears what the
        // chart shows.
        for (const char* tool : { "指す", "←", "→", "Home", "End", "ドラッグ", "ホイール",
                 "ダブルクリック", "Esc", "Ctrl+C" })
            QVERIFY2(c->toolTip().contains(QString::fromUtf8(tool)), tool);
        QCOMPARE(QAccessible::queryAccessibleInterface(c)->text(QAccessible::Description),
            c->Description());
        QCOMPARE(c->labelFontName(), QStringLiteral("ＭＳ Ｐ明朝"));
        QCOMPARE(c->labelFont().family(), QStringLiteral("IPAPMincho"));
        QCOMPARE(QFontInfo(c->labelFont()).family(), QFontInfo(QFont("IPAPMincho")).family());
        QCOMPARE(c->labelFont().pixelSize(), 12);
        QCOMPARE(form_->Series1, form_->Chart1->GetSeries(0));
        QCOMPARE(form_->Series2, form_->Chart2->GetSeries(0));
        QVERIFY_THROWS_EXCEPTION(Exception, c->GetSeries(1));
    }

    // Axis labels follow the data: tiny, huge, single points and equal values.
    void axes_data()
    {
        QTest::addColumn<QList<QPointF>>("points");
        QTest::addColumn<QString>("firstY");
        QTest::addColumn<QString>("lastY");
        QTest::newRow("capacitances")
            << QList<QPointF> { { -4, 1.27e-22 }, { 0.3, 8.4e-22 } } << "0"
            << "1e-21";
        QTest::newRow("inverse squares")
            << QList<QPointF> { { -4, 6.2e43 }, { 0.3, 1.4e42 } } << "0"
            << "8e+43";
        // (the labels of one axis share one number of decimals)
        QTest::newRow("single point") << QList<QPointF> { { -4, 1.27e-22 } } << "1.20e-22"
                                      << "1.35e-22";
        QTest::newRow("near the double limit")
            << QList<QPointF> { { -4, 1e308 }, { -3.9, 1.7e308 } } << "1.0e+308"
            << "1.8e+308";
    }
    void axes()
    {
        QFETCH(QList<QPointF>, points);
        QFETCH(QString, firstY);
        QFETCH(QString, lastY);
        TFastLineSeries* s = form_->Chart1->GetSeries(0);
        for (const QPointF& p : points)
            s->AddXY(p.x(), p.y());
        QCOMPARE(s->Count(), points.size());
        QCOMPARE(s->YValue(0), points[0].y()); // kept unscaled
        form_->Chart1->Refresh();
        const TAxisScale& y = form_->Chart1->ScaleY();
        QCOMPARE(y.ticks.front().label, firstY);
        QCOMPARE(y.ticks.back().label, lastY);
        // The plotted points lie inside the plot area.
        const TChartMap map = form_->Chart1->Map();
        for (int i = 0; i < s->Count(); ++i)
            QVERIFY(map.Area()
                        .adjusted(-0.5, -0.5, 0.5, 0.5)
                        .contains(map.ToPixel(s->XValue(i), s->YValue(i))));
        QTest::qWait(20); // let the chart lay out and paint: no warnings on the way
        s->Clear();
        form_->Chart1->Refresh();
        QCOMPARE(form_->Chart1->ScaleY().ticks.front().label, QStringLiteral("0.0"));
    }

    void series_keeps_x_ascending()
    {
        TFastLineSeries* s = form_->Chart2->GetSeries(0);
        s->AddXY(1.0, 10.0);
        s->AddXY(-1.0, 30.0);
        s->AddXY(0.0, 20.0);
        QCOMPARE(s->Count(), 3);
        QCOMPARE(s->XValue(0), -1.0);
        QCOMPARE(s->XValue(1), 0.0);
        QCOMPARE(s->YValue(2), 10.0);
        QCOMPARE(s->YValue(1), 20.0);
    }
};

QTEST_MAIN(FormLayoutTest)
#include "FormLayoutTest.moc"
