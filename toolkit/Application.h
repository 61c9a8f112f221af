// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: brings up Qt, creates the main window from its stored form,
// runs the message loop, and reports errors to the user.
#pragma once

#include "toolkit/Exception.h"
#include "toolkit/Fonts.h"

#include <QString>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>
#include <utility>

class QApplication;
class QWidget;

// How an error is shown to the user. The default is a modal message box; tests swap in
// their own so that no test waits on a dialog.
using ErrorReporter = std::function<void(const QString& message)>;

// Installs `reporter` (an empty one restores the message box) and returns the previous.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

// Shows one error's message through the current reporter.
void ReportError(const std::exception& error);

// Shows the lines appended to text lists and not yet shown (toolkit/Form.h).
void FlushLines();

// The boundary where an event binding enters our code. Qt's own frames must never be
// unwound by an exception, so whatever escapes `handler` is reported here and the
// message loop goes on.
// The lines the handler appended to text lists are shown as it ends, also when it ends
// with an error (those before the error), and before the error is reported.
template <typename Handler> void HandleEvent(Handler&& handler) noexcept
{
    try {
        handler();
        FlushLines();
    } catch (const std::exception& e) {
        FlushLines();
        ReportError(e);
    } catch (...) {
        FlushLines();
        ReportError(std::runtime_error("不明なエラーが発生しました。"));
    }
}

// Loads Qt's own Japanese texts (context menus, standard dialogs), whatever the system
// locale. Without the translation file Qt's texts stay English; nothing else changes.
void InstallQtTranslation();

// Who the program is: its name (message box titles, the line printed when there is no
// display) and the image files of its window icon, one per drawn size.
struct TProgramIdentity {
    QString name;
    QStringList iconFiles;
};

// The line printed when the program cannot open a window: Japanese when the user's
// language is Japanese, English otherwise.
QString NoDisplayMessage(const QString& programName);

class TApplication {
public:
    TApplication(int& argc, char** argv, TProgramIdentity identity = {});
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Creates the Qt application object; call first. Throws Exception, with
    // NoDisplayMessage, when there is no display to open a window on.
    void Initialize();

    // Creates the window, fills `form`, makes the first window created the main window
    // and raises its creation event once its controls exist.
    template <typename Form> void CreateForm(Form*& form)
    {
        auto created = std::make_unique<Form>();
        form = created.get();
        Adopt(std::move(created));
        form->DoCreate();
    }

    // Shows the main window and runs the message loop until it closes; returns the
    // loop's exit code.
    int Run();

    // Shows one error's message to the user.
    void ShowException(const std::exception& error);

    // The whole start-up path of a program whose main window is `Form`: initialise,
    // create the window, run the loop. An error escaping any step is shown with
    // ShowException. Returns the process exit code: the loop's after a normal end, 1
    // when the start-up failed.
    template <typename Form>
    static int RunProgram(int& argc, char** argv, Form*& form, TProgramIdentity identity = {})
    {
        TApplication application(argc, argv, std::move(identity));
        int status = 1;
        try {
            application.Initialize();
            application.CreateForm(form);
            status = application.Run();
        } catch (const std::exception& error) {
            application.ShowException(error);
        } catch (...) {
            application.ShowException(std::runtime_error("不明なエラーが発生しました。"));
        }
        form = nullptr;
        return status;
    }

private:
    void Adopt(std::unique_ptr<QWidget> form);

    int& argc_;
    char** argv_;
    TProgramIdentity identity_;
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<QWidget> mainForm_; // destroyed before app_
};
