// The window as stored in its form: controls, places, captions, fonts, tab order,
// menu, charts and their axes.
#include "TestSupport.h"
#include "ui/Unit1.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
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
        QCOMPARE(w->font().family(), family);
        // The Windows font names resolve to installed Japanese fonts.
        QVERIFY2(QFontInfo(w->font()).family().startsWith(QLatin1String("IPA")),
            qPrintable(QFontInfo(w->font()).family()));
        if (auto* label = qobject_cast<QLabel*>(w))
            QCOMPARE(label->text(), caption);
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            QCOMPARE(edit->text(), caption); // design text; emptied by the creation event
        else if (auto* button = qobject_cast<QPushButton*>(w))
            QCOMPARE(button->text(), caption);
    }

    void mincho_labels_use_a_mincho_font()
    {
        QCOMPARE(QFontInfo(form_->Label1->font()).family(), QStringLiteral("IPAPMincho"));
        QCOMPARE(QFontInfo(form_->Edit1->font()).family(), QStringLiteral("IPAPGothic"));
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

    void lists_and_pages()
    {
        for (QPlainTextEdit* memo : { form_->Memo1, form_->Memo2 }) {
            QCOMPARE(memo->blockCount(), 1); // one empty line
            QCOMPARE(memo->toPlainText(), QString());
            QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
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
        QCOMPARE(c->chart()->title(), title);
        QCOMPARE(c->backColor(), QColor(Qt::white));
        QCOMPARE(c->backWallColor(), QColor(Qt::white));
        QVERIFY(!c->chart()->legend()->isVisible());
        QCOMPARE(c->SeriesCount(), 1);
        QCOMPARE(c->GetSeries(0)->SeriesColor(), QColor(Qt::red));
        QCOMPARE(c->GetSeries(0)->Count(), 0);
        QCOMPARE(c->AxisX()->labelsFont().family(), QStringLiteral("ＭＳ Ｐ明朝"));
        QCOMPARE(c->AxisX()->labelsFont().pixelSize(), 12);
        QCOMPARE(c->AxisY()->labelsColor(), QColor(Qt::black));
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
        QTest::newRow("single point") << QList<QPointF> { { -4, 1.27e-22 } } << "1.2e-22"
                                      << "1.35e-22";
        QTest::newRow("near the double limit")
            << QList<QPointF> { { -4, 1e308 }, { -3.9, 1.7e308 } } << "1e+308"
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
        const QStringList labels = form_->Chart1->AxisY()->categoriesLabels();
        QCOMPARE(labels.first(), firstY);
        QCOMPARE(labels.last(), lastY);
        // The plotted points lie inside the axis ranges.
        const QCategoryAxis* y = form_->Chart1->AxisY();
        for (const QPointF& p : s->LineSeries()->points())
            QVERIFY(p.y() >= y->min() && p.y() <= y->max());
        QTest::qWait(20); // let the chart lay out and paint: no warnings on the way
        s->Clear();
        QCOMPARE(s->LineSeries()->count(), 0);
        QCOMPARE(form_->Chart1->AxisY()->categoriesLabels().first(), QStringLiteral("0"));
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
        QCOMPARE(s->LineSeries()->at(1).y(), 20.0);
    }
};

QTEST_MAIN(FormLayoutTest)
#include "FormLayoutTest.moc"
