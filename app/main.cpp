// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"
#include "command_line.h"
#include "form1.h"
#include "heart_icon.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace {

// The program is Bulgarian, so Qt's own texts (the edit menus) are too,
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

// Without a usable display Qt aborts, and crash collectors log that as a crash.
// While the application starts, Qt's messages are held back: a failure is told
// in one line, a success passes them on.
QStringList startMessages;
void holdStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("velinora: Програмата изисква графична среда, а такава не е открита.\n", stderr);
        std::_Exit(EXIT_FAILURE);
    }
    startMessages += qFormatLogMessage(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    // The name gives the window its class, which the desktop entry's StartupWMClass names.
    QCoreApplication::setApplicationName(QStringLiteral("velinora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELINORA_VERSION));
    AnswerCommandLine(argc, argv);

    const QtMessageHandler qtHandler = qInstallMessageHandler(holdStartMessage);
    const QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    // After the application, whose own factory would otherwise come first.
    InstallAccessibility();
    for (const QString& message : std::as_const(startMessages))
        std::fprintf(stderr, "%s\n", qPrintable(message));

    QTranslator qtTranslation;
    loadQtTranslation(qtTranslation);

    QGuiApplication::setDesktopFileName(QStringLiteral(VELINORA_APP_ID));
    QApplication::setWindowIcon(HeartIcon());

    Form1 form;
    form.show();
    return QApplication::exec();
}
