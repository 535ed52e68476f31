// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"
#include "form1.h"
#include "heart_icon.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

void describeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Показва какво казва за характера всяка буква на въведеното име.\n"
                       "Shows what each letter of a name says about character."));
    parser.addHelpOption();
    parser.addVersionOption();
}

// The program is Bulgarian, so Qt's own texts (the edit menus, --help) are too,
// whatever the locale. The Windows build carries the translation; Linux has Qt's.
void loadQtTranslation(QTranslator& translator) {
    for (const QString& folder :
         {QStringLiteral(":/translations"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator.load(QLocale(QLocale::Bulgarian), QStringLiteral("qtbase"),
                            QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(&translator);
            return;
        }
    }
}

// Gives the answer to --help or --version and ends. A Windows GUI program has no
// terminal of its own: it writes where its output is sent, else into the terminal it
// was started from, else into a message box.
[[noreturn]] void answer(const QString& text) {
#ifdef Q_OS_WIN
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_UNKNOWN) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
            MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()), L"Велинора",
                        MB_OK | MB_ICONINFORMATION);
            std::exit(EXIT_SUCCESS);
        }
        std::freopen("CONOUT$", "w", stdout);
        SetConsoleOutputCP(CP_UTF8);
    }
#endif
    std::fputs(text.toUtf8().constData(), stdout);
    std::exit(EXIT_SUCCESS);
}

// --help and --version answer without a display, so they are handled before the
// window's application, which needs one, exists. Qt's own options are left for it.
void answerHelpAndVersion(int argc, char** argv) {
    const QCoreApplication commandLine(argc, argv);
    QTranslator translator;
    loadQtTranslation(translator);
    QCommandLineParser parser;
    describeOptions(parser);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help")))
        answer(parser.helpText());
    if (parser.isSet(QStringLiteral("version")))
        answer(QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                             QCoreApplication::applicationVersion()));
}

// Without a usable display Qt aborts, and crash collectors log that as a crash.
// While the application starts, Qt's messages are held back: a failure is told
// in one line, a success passes them on.
QStringList startMessages;
void holdStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("velinora: програмата изисква графична среда, а такава не е открита "
                   "(a graphical desktop is needed, and none was found)\n",
                   stderr);
        std::_Exit(EXIT_FAILURE);
    }
    startMessages += qFormatLogMessage(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    // The name gives the window its class, which the desktop entry's StartupWMClass names.
    QCoreApplication::setApplicationName(QStringLiteral("velinora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELINORA_VERSION));
    answerHelpAndVersion(argc, argv);

    const QtMessageHandler qtHandler = qInstallMessageHandler(holdStartMessage);
    const QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    // After the application, whose own factory would otherwise come first.
    InstallAccessibility();
    for (const QString& message : std::as_const(startMessages))
        std::fprintf(stderr, "%s\n", qPrintable(message));

    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app);
    QTranslator qtTranslation;
    loadQtTranslation(qtTranslation);

    QGuiApplication::setDesktopFileName(QStringLiteral(VELINORA_APP_ID));
    QApplication::setWindowIcon(HeartIcon());

    Form1 form;
    form.show();
    return QApplication::exec();
}
