// SPDX-License-Identifier: GPL-3.0-or-later
// A long random session against the real form: 1,000 commands mixing inputs of the
// sweep's golden table (typed half-width or full-width), invalid texts, every sweep
// fault, 例入力, クリア and context requests, with a fixed seed. The window must show
// what the golden table says for the inputs it holds, nothing may have been printed as a
// Qt warning, and the window must hold no more objects than at start.
#include "TestSupport.h"
#include "ui/Unit1.h"

#include "GoldenSweep.h" // after the Qt headers, or moc trips over <concepts>

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <array>
#include <bit>
#include <random>
#include <vector>

class SoakTest : public QObject {
    Q_OBJECT

    struct TExpected {
        std::array<QString, 4> fields;
        const TGoldenRow* row = nullptr; // what the fields hold; null: not four numbers
        std::vector<TGoldenPoint> points;
        int reports = 0;
    };

    // What 計算 must do with the fields: show the row's points, and report where the
    // row's sweep stops early or the fields do not hold four numbers.
    static void Calculate(TExpected& e)
    {
        e.points.clear();
        if (e.row)
            e.points = e.row->points;
        if (!e.row || e.row->fault)
            ++e.reports;
    }

    static quint64 Bits(double x) { return std::bit_cast<quint64>(x); }

    // The text an input method commits for a number: full-width digits and signs.
    static QString FullWidth(const QString& text)
    {
        QString wide;
        for (const QChar ch : text) {
            const char16_t c = ch.unicode();
            if (c >= u'0' && c <= u'9')
                wide += QChar(char16_t(u'０' + (c - u'0')));
            else if (c == u'.')
                wide += QChar(u'．');
            else if (c == u'e')
                wide += QChar(u'ｅ');
            else if (c == u'+')
                wide += QChar(u'＋');
            else if (c == u'-')
                wide += QChar(u'－');
            else
                wide += ch;
        }
        return wide;
    }

    static void VerifyWindow(const TForm1& form, const TExpected& e, int reports)
    {
        QCOMPARE(form.Edit1->text(), e.fields[0]);
        QCOMPARE(form.Edit2->text(), e.fields[1]);
        QCOMPARE(form.Edit3->text(), e.fields[2]);
        QCOMPARE(form.Edit4->text(), e.fields[3]);
        QCOMPARE(reports, e.reports);
        const QString c = form.Memo1->toPlainText();
        const QString inv = form.Memo2->toPlainText();
        const QStringList cLines = c.isEmpty() ? QStringList() : c.split('\n');
        const QStringList invLines = inv.isEmpty() ? QStringList() : inv.split('\n');
        const auto n = static_cast<int>(e.points.size());
        QCOMPARE(cLines.size(), n);
        QCOMPARE(invLines.size(), n);
        QCOMPARE(form.Chart1->GetSeries(0)->Count(), n);
        QCOMPARE(form.Chart2->GetSeries(0)->Count(), n);
        for (int k = 0; k < n; ++k) {
            const TGoldenPoint& p = e.points[static_cast<std::size_t>(k)];
            QCOMPARE(cLines[k], QString::fromStdString(p.cText));
            QCOMPARE(invLines[k], QString::fromStdString(p.invC2Text));
            QCOMPARE(Bits(form.Chart1->GetSeries(0)->XValue(k)), Bits(p.V));
            QCOMPARE(Bits(form.Chart1->GetSeries(0)->YValue(k)), Bits(p.C));
            QCOMPARE(Bits(form.Chart2->GetSeries(0)->YValue(k)), Bits(p.InvC2));
        }
    }

private slots:
    void thousand_random_commands()
    {
        InstallFontSubstitutions();
        TWarningTrap trap;
        TReportRecorder reports;
        TForm1 form;
        form.DoCreate();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const auto objectsAtStart = form.findChildren<QObject*>().size();

        // Inputs from the golden table, those that make the sweep stop early among them,
        // and every kind of text that is no number.
        std::vector<const TGoldenRow*> rows, faultRows;
        for (const TGoldenRow& row : GoldenSweep()) {
            rows.push_back(&row);
            if (row.fault && !row.IsRandom())
                faultRows.push_back(&row);
        }
        QVERIFY(faultRows.size() >= 6);
        const QStringList invalid { "", " ", "abc", "1,5", "0x10", "inf", "nan", "1e", "--1",
            "1e999", "1.2.3", "４２x" };
        QLineEdit* edits[] = { form.Edit1, form.Edit2, form.Edit3, form.Edit4 };
        auto type = [&](int field, const QString& text) {
            edits[field]->selectAll();
            QTest::keyClick(edits[field], Qt::Key_Delete);
            bool ascii = true;
            for (const QChar ch : text)
                ascii = ascii && ch.unicode() < 0x80;
            if (ascii) {
                QTest::keyClicks(edits[field], text);
            } else { // full-width text arrives committed from an input method
                QInputMethodEvent commit;
                commit.setCommitString(text);
                QApplication::sendEvent(edits[field], &commit);
            }
        };

        std::mt19937 random(4242);
        auto pick = [&](const QStringList& list) {
            return list[std::uniform_int_distribution<int>(0, int(list.size()) - 1)(random)];
        };
        auto pickRow = [&](const std::vector<const TGoldenRow*>& from) {
            return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
        };
        auto typeRow = [&](TExpected& e, const TGoldenRow* row) {
            e.row = row;
            for (int f = 0; f < 4; ++f) {
                QString text = QString::fromStdString(row->inputText[std::size_t(f)]);
                if (std::uniform_int_distribution<int>(0, 3)(random) == 0)
                    text = FullWidth(text);
                e.fields[std::size_t(f)] = text;
                type(f, text);
            }
        };
        TExpected expected;
        for (int step = 0; step < 1000; ++step) {
            switch (std::uniform_int_distribution<int>(0, 7)(random)) {
            case 0:
            case 1: // an input of the table, then 計算
                typeRow(expected, pickRow(rows));
                [[fallthrough]];
            case 2: // 計算 on whatever the fields hold
                QTest::mouseClick(form.Button1, Qt::LeftButton);
                Calculate(expected);
                break;
            case 3: { // one invalid field, then 計算
                const int f = std::uniform_int_distribution<int>(0, 3)(random);
                expected.fields[std::size_t(f)] = pick(invalid);
                expected.row = nullptr;
                type(f, expected.fields[std::size_t(f)]);
                QTest::mouseClick(form.Button1, Qt::LeftButton);
                Calculate(expected);
                break;
            }
            case 4: // inputs that make the sweep stop early, then 計算
                typeRow(expected, pickRow(faultRows));
                QTest::mouseClick(form.Button1, Qt::LeftButton);
                Calculate(expected);
                break;
            case 5: // 例入力
                form.N2->trigger();
                expected.fields = { "10e-17", "10", "0.4", "10" };
                expected.row = &GoldenRow("example");
                break;
            case 6: // クリア
                form.N1->trigger();
                expected.fields = { "", "", "", "" };
                expected.row = nullptr;
                expected.points.clear();
                break;
            case 7: { // context request over the first page
                const QPoint at(5, 5);
                QContextMenuEvent event(
                    QContextMenuEvent::Mouse, at, form.TabSheet1->mapToGlobal(at));
                QApplication::sendEvent(form.TabSheet1, &event);
                break;
            }
            }
            if (step % 50 == 0)
                QCoreApplication::processEvents(); // let the window paint now and then
            // After every command, so that every input the session types is checked.
            VerifyWindow(form, expected, int(reports.messages.size()));
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("state differs after command %1").arg(step)));
        }
        VerifyWindow(form, expected, int(reports.messages.size()));
        QVERIFY(expected.reports > 100); // the session did exercise the error paths
        QCOMPARE(form.findChildren<QObject*>().size(), objectsAtStart + 1); // + the canvas
        const QStringList warnings = trap.Take();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    }
};

QTEST_MAIN(SoakTest)
#include "SoakTest.moc"
