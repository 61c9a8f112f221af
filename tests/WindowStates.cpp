// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the real window and saves it, as drawn, in three states into the folder named on
// the command line: at start (start.png), after "例入力" and "計算" (example.png), and
// after "計算" with the widest results (huge.png: Nd = 1e300, so that every number has 17
// digits and a three-digit exponent). The commands go in as input events.
#include "ui/Unit1.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_states FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    TApplication application(argc, argv);
    application.Initialize();
    application.CreateForm(Form1);
    int status = 1;
    QTimer::singleShot(0, [&] {
        QWidget* window = Form1;
        if (!QDir().mkpath(folder.path()) || !QTest::qWaitForWindowExposed(window)) {
            QApplication::exit();
            return;
        }
        const auto save = [&](const char* name) {
            QTest::qWait(100);
            return window->grab().save(folder.filePath(QString::fromLatin1(name)));
        };
        bool saved = save("start.png");
        Form1->N2->trigger();
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        saved = save("example.png") && saved;
        for (QLineEdit* field : { Form1->Edit1, Form1->Edit2, Form1->Edit3, Form1->Edit4 })
            field->clear();
        QTest::keyClicks(Form1->Edit1, QStringLiteral("1e300"));
        QTest::keyClicks(Form1->Edit2, QStringLiteral("10"));
        QTest::keyClicks(Form1->Edit3, QStringLiteral("0.4"));
        QTest::keyClicks(Form1->Edit4, QStringLiteral("10"));
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        saved = save("huge.png") && saved;
        status = saved ? 0 : 1;
        Form1->Close();
    });
    application.Run();
    return status;
}
