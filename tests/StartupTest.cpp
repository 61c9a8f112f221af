// The program's start-up path: exit code 0 after a normal end, 1 with one report when
// the start-up fails.
#include "TestSupport.h"
#include "toolkit/Form.h"

#include <QTimer>
#include <gtest/gtest.h>

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

} // namespace
