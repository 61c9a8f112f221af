#include "toolkit/Application.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <QWidget>

#include <cstdio>

namespace {

ErrorReporter& CurrentReporter()
{
    static ErrorReporter reporter;
    return reporter;
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
    box.exec();
}

} // namespace

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

void InstallFontSubstitutions()
{
    // The form names the fonts a Japanese Windows desktop has. Prefer the metrically
    // alike IPA fonts, then any other installed Japanese font of the same kind.
    const QStringList gothic { "IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic",
        "TakaoPGothic", "Droid Sans Fallback" };
    const QStringList mincho { "IPAPMincho", "IPAMincho", "Noto Serif CJK JP", "TakaoPMincho",
        "IPAPGothic", "Noto Sans CJK JP" };
    // Each name gets the first installed candidate as its only substitute, so that
    // QFont::substitute() names the font that is actually used. Where none is
    // installed the name is left to the system's own fallback.
    const QStringList installed = QFontDatabase::families();
    const auto substitute = [&](const QString& name, const QStringList& candidates) {
        for (const QString& family : candidates)
            if (installed.contains(family, Qt::CaseInsensitive)) {
                QFont::insertSubstitution(name, family);
                return;
            }
    };
    substitute(QStringLiteral("ＭＳ Ｐゴシック"), gothic);
    substitute(QStringLiteral("ＭＳ Ｐ明朝"), mincho);
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

TApplication::TApplication(int& argc, char** argv)
    : argc_(argc)
    , argv_(argv)
{
}

TApplication::~TApplication() = default;

void TApplication::Initialize()
{
    if (app_)
        return;
    QCoreApplication::setApplicationName(QStringLiteral("cvplot"));
    app_ = std::make_unique<QApplication>(argc_, argv_);
    InstallFontSubstitutions();
    InstallQtTranslation();

    // The program's icon, where the program carries it as resources.
    QIcon icon;
    for (const int size : { 16, 32, 48 }) {
        const QString path = QStringLiteral(":/icons/%1-%2.png")
                                 .arg(QCoreApplication::applicationName())
                                 .arg(size);
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
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

void TApplication::Run()
{
    if (!app_ || !mainForm_)
        return;
    mainForm_->show();
    QApplication::exec();
}

void TApplication::ShowException(const std::exception& error) { ReportError(error); }
