// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Application.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTranslator>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

ErrorReporter& CurrentReporter()
{
    static ErrorReporter reporter;
    return reporter;
}

// The icon the report's OK button shows, made once for the application. A button's icon
// is drawn through the application's pixmap cache under the icon's own identity: a fresh
// icon per report, as the style makes one for each box, would add an entry that no later
// report finds again, and the cache would keep each of them until it is full.
QIcon SharedOkIcon()
{
    class THolder : public QObject {
    public:
        using QObject::QObject;
        QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DialogOkButton);
    };
    static QPointer<THolder> holder;
    if (!holder)
        holder = new THolder(QCoreApplication::instance());
    return holder->icon;
}

void ShowMessageBox(const QString& message)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No window system to show a box on: the message still reaches the user.
        const QByteArray text = message.toLocal8Bit() + '\n';
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
        return;
    }
    // Plain text: a message quotes what the user typed, and no markup in it may be
    // interpreted. The box lives for the report alone and is gone when it closes.
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), message,
        QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (QAbstractButton* ok = box.button(QMessageBox::Ok); ok && !ok->icon().isNull())
        ok->setIcon(SharedOkIcon());
    box.exec();
}

// Whether there is a display to try. On X11 and Wayland desktops the environment names
// it; without one, and without a platform chosen explicitly (QT_QPA_PLATFORM or
// -platform), Qt would abort.
bool DisplayNamed(int argc, char** argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return true;
#endif
}

// While the Qt application object is constructed: a display that is named but cannot
// be opened makes Qt end the process with a fatal message about its platform plugins.
// That message is replaced by the program's own line and exit code 1; every other
// message is printed as usual.
QString& StartupFatalLine()
{
    static QString line;
    return line;
}

QtMessageHandler& HandlerBeforeStartup()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", StartupFatalLine().toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (const QtMessageHandler previous = HandlerBeforeStartup()) {
        previous(type, context, text);
        return;
    }
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
}

} // namespace

QString NoDisplayMessage(const QString& programName)
{
    const QStringList languages = QLocale::system().uiLanguages();
    const bool japanese
        = !languages.isEmpty() && languages.first().startsWith(QStringLiteral("ja"));
    return programName
        + (japanese ? QStringLiteral(": ウィンドウを表示する画面を開けません。"
                                     "グラフィカルなデスクトップのセッションで起動してください。")
                    : QStringLiteral(": cannot open a display for the window; start the "
                                     "program in a graphical desktop session."));
}

ErrorReporter SetErrorReporter(ErrorReporter reporter)
{
    ErrorReporter previous = std::move(CurrentReporter());
    CurrentReporter() = std::move(reporter);
    return previous;
}

void ReportError(const std::exception& error)
{
    // The toolkit's own errors carry their message with its length; others only a C string.
    const auto* own = dynamic_cast<const Exception*>(&error);
    const QString message = own
        ? QString::fromUtf8(own->Message().data(), static_cast<qsizetype>(own->Message().size()))
        : QString::fromUtf8(error.what());
    if (const auto& reporter = CurrentReporter())
        reporter(message);
    else
        ShowMessageBox(message);
}

void InstallQtTranslation()
{
    if (!QCoreApplication::instance())
        return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(
            QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

TApplication::TApplication(int& argc, char** argv, TProgramIdentity identity)
    : argc_(argc)
    , argv_(argv)
    , identity_(std::move(identity))
{
}

TApplication::~TApplication() = default;

void TApplication::Initialize()
{
    if (app_)
        return;
    QString name = identity_.name;
    if (name.isEmpty() && argc_ > 0)
        name = QFileInfo(QString::fromLocal8Bit(argv_[0])).completeBaseName();
    QCoreApplication::setApplicationName(name);
    const QString noDisplay = NoDisplayMessage(name);
    if (!DisplayNamed(argc_, argv_))
        throw Exception(noDisplay.toStdString());
    StartupFatalLine() = noDisplay;
    HandlerBeforeStartup() = qInstallMessageHandler(StartupMessageHandler);
    app_ = std::make_unique<QApplication>(argc_, argv_);
    qInstallMessageHandler(HandlerBeforeStartup());
    InstallFontSubstitutions();
    UseFormFontForTheApplication();
    InstallQtTranslation();

    QIcon icon;
    for (const QString& file : std::as_const(identity_.iconFiles))
        icon.addFile(file);
    if (!icon.isNull())
        QApplication::setWindowIcon(icon);
}

void TApplication::Adopt(std::unique_ptr<QWidget> form)
{
    if (!mainForm_)
        mainForm_ = std::move(form);
    else
        form.release()->setParent(mainForm_.get(), Qt::Window);
}

int TApplication::Run()
{
    if (!app_ || !mainForm_)
        return 0;
    mainForm_->show();
    return QApplication::exec();
}

void TApplication::ShowException(const std::exception& error) { ReportError(error); }
