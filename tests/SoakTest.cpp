// A long random session against the real form: 1,000 commands mixing valid and invalid
// inputs, every sweep fault, 例入力, クリア and context requests, with a fixed seed.
// Afterwards the window must show exactly what the last commands say, nothing may have
// been printed as a Qt warning, and the window must hold no more objects than at start.
#include "TestSupport.h"
#include "calc/CapacitanceSweep.h"
#include "toolkit/Convert.h"
#include "ui/Unit1.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <array>
#include <random>
#include <vector>

class SoakTest : public QObject {
    Q_OBJECT

    struct TExpected {
        std::array<QString, 4> fields;
        std::vector<TCVPoint> points;
        int reports = 0;
    };

    static void Calculate(TExpected& e)
    {
        e.points.clear();
        TJunctionInput input {};
        double* targets[] = { &input.Nd, &input.EpsS, &input.Vd, &input.S };
        try {
            for (int i = 0; i < 4; ++i)
                *targets[i] = StrToFloat(e.fields[static_cast<std::size_t>(i)]);
            SweepCV(input, [&](const TCVPoint& p) { e.points.push_back(p); });
        } catch (const std::exception&) {
            ++e.reports;
        }
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
            const TCVPoint& p = e.points[static_cast<std::size_t>(k)];
            QCOMPARE(cLines[k], FloatToStr(p.C));
            QCOMPARE(invLines[k], FloatToStr(p.InvC2));
            QCOMPARE(form.Chart1->GetSeries(0)->XValue(k), p.V);
            QCOMPARE(form.Chart2->GetSeries(0)->YValue(k), p.InvC2);
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

        // Texts per field: valid ones (half-width and full-width), every kind of invalid
        // one, and inputs that make each sweep fault.
        const QStringList valid[4] = {
            { "10e-17", "1e-16", "２ｅ－１６", "3.5e-15", "1", "1e300" },
            { "10", "11.7", "１２", "4", "1e-10" },
            { "0.4", "-4", "-3.9", "0", "3.95", "100", "−1" },
            { "10", "1", "0.5", "1e169", "1e-137" },
        };
        const QStringList invalid { "", " ", "abc", "1,5", "0x10", "inf", "nan", "1e", "--1",
            "1e999", "1.2.3", "４２x" };
        const QStringList faults[] = { { "-1", "10", "0.4", "10" }, { "0", "10", "0.4", "10" },
            { "1e-16", "10", "0.4", "0" }, { "1", "1", "0", "1e169" },
            { "1e-16", "10", "0.4", "1e-137" }, { "1e308", "1e10", "0.4", "10" } };

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
        TExpected expected;
        for (int step = 0; step < 1000; ++step) {
            switch (std::uniform_int_distribution<int>(0, 7)(random)) {
            case 0:
            case 1: // valid inputs, then 計算
                for (int f = 0; f < 4; ++f) {
                    expected.fields[std::size_t(f)] = pick(valid[f]);
                    type(f, expected.fields[std::size_t(f)]);
                }
                [[fallthrough]];
            case 2: // 計算 on whatever the fields hold
                QTest::mouseClick(form.Button1, Qt::LeftButton);
                Calculate(expected);
                break;
            case 3: { // one invalid field, then 計算
                const int f = std::uniform_int_distribution<int>(0, 3)(random);
                expected.fields[std::size_t(f)] = pick(invalid);
                type(f, expected.fields[std::size_t(f)]);
                QTest::mouseClick(form.Button1, Qt::LeftButton);
                Calculate(expected);
                break;
            }
            case 4: { // inputs that make a sweep fault, then 計算
                const auto& fault = faults[std::uniform_int_distribution<int>(0, 5)(random)];
                for (int f = 0; f < 4; ++f) {
                    expected.fields[std::size_t(f)] = fault[f];
                    type(f, fault[f]);
                }
                QTest::mouseClick(form.Button1, Qt::LeftButton);
                Calculate(expected);
                break;
            }
            case 5: // 例入力
                form.N2->trigger();
                expected.fields = { "10e-17", "10", "0.4", "10" };
                break;
            case 6: // クリア
                form.N1->trigger();
                expected.fields = { "", "", "", "" };
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
            if (step % 50 == 0) {
                QCoreApplication::processEvents(); // let the window paint now and then
                VerifyWindow(form, expected, int(reports.messages.size()));
                if (QTest::currentTestFailed())
                    QFAIL(qPrintable(QStringLiteral("state differs after command %1").arg(step)));
            }
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
