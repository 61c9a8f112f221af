// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up path: exit code 0 after a normal end, 1 with one report when
// the start-up fails.
#include "TestSupport.h"
#include "toolkit/Form.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <stdexcept>

namespace {

char programName[] = "cvplot";
char* arguments[] = { programName, nullptr };

struct TClosingForm : TCustomForm {
    TClosingForm()
    {
        connect(this, &TCustomForm::created, this, [this] { ++createdEvents; });
        QTimer::singleShot(0, this, [this] { Close(); });
    }
    static inline int createdEvents = 0;
};

// Reads the texts of a field's context menu once the window exists.
struct TMenuReadingForm : TCustomForm {
    TMenuReadingForm()
    {
        connect(this, &TCustomForm::created, this, [this] {
            QLineEdit field;
            std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
            for (const QAction* action : menu->actions())
                menuTexts << action->text();
        });
        QTimer::singleShot(0, this, [this] { Close(); });
    }
    static inline QStringList menuTexts;
};

struct TFailingForm : TCustomForm {
    TFailingForm() { throw Exception("フォームを作れません。"); }
};

TEST(Startup, ANormalEndReturnsZero)
{
    int argc = 1;
    TClosingForm* form = nullptr;
    TReportRecorder reports;
    EXPECT_EQ(TApplication::RunProgram(argc, arguments, form), 0);
    EXPECT_EQ(TClosingForm::createdEvents, 1);
    EXPECT_TRUE(reports.messages.isEmpty());
    EXPECT_EQ(form, nullptr);
}

TEST(Startup, AFailedStartReportsOnceAndReturnsOne)
{
    int argc = 1;
    TFailingForm* form = nullptr;
    TReportRecorder reports;
    EXPECT_EQ(TApplication::RunProgram(argc, arguments, form), 1);
    ASSERT_EQ(reports.messages.size(), 1);
    EXPECT_EQ(reports.messages[0], QStringLiteral("フォームを作れません。"));
}

TEST(Startup, QtsOwnTextsAreJapaneseWhateverTheLocale)
{
    // The tests run with LC_ALL=C.UTF-8: the system locale asks for no Japanese.
    int argc = 1;
    TMenuReadingForm* form = nullptr;
    EXPECT_EQ(TApplication::RunProgram(argc, arguments, form), 0);
    const QString texts = TMenuReadingForm::menuTexts.join(QLatin1Char('|'));
    EXPECT_TRUE(texts.contains(QStringLiteral("元に戻す"))) << texts.toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("貼り付け"))) << texts.toStdString();
    EXPECT_FALSE(texts.contains(QStringLiteral("Undo"))) << texts.toStdString();
}

// Errors that are not the toolkit's own escape the start-up too: each is reported once
// and the program ends with 1, not with std::terminate.
struct TOutOfMemoryForm : TCustomForm {
    TOutOfMemoryForm() { throw std::bad_alloc(); }
};
struct TRuntimeErrorForm : TCustomForm {
    TRuntimeErrorForm() { throw std::runtime_error("runtime error"); }
};
struct TNonStandardForm : TCustomForm {
    TNonStandardForm() { throw 42; }
};

template <typename Form> void ExpectOneReportAndOne(const QString& message)
{
    int argc = 1;
    Form* form = nullptr;
    TReportRecorder reports;
    EXPECT_EQ(TApplication::RunProgram(argc, arguments, form), 1);
    ASSERT_EQ(reports.messages.size(), 1);
    EXPECT_EQ(reports.messages[0], message);
}

TEST(Startup, AnyErrorEscapingTheStartReportsOnceAndReturnsOne)
{
    ExpectOneReportAndOne<TOutOfMemoryForm>(QString::fromUtf8(std::bad_alloc().what()));
    ExpectOneReportAndOne<TRuntimeErrorForm>(QStringLiteral("runtime error"));
    ExpectOneReportAndOne<TNonStandardForm>(QStringLiteral("不明なエラーが発生しました。"));
}

// The message loop's exit code is the program's.
struct TExitingForm : TCustomForm {
    TExitingForm()
    {
        QTimer::singleShot(0, this, [] { QApplication::exit(3); });
    }
};

TEST(Startup, TheLoopsExitCodeIsReturned)
{
    int argc = 1;
    TExitingForm* form = nullptr;
    EXPECT_EQ(TApplication::RunProgram(argc, arguments, form), 3);
}

} // namespace
