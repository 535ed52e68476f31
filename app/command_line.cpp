// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QTranslator>
#include <array>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The parser's own words. Qt's Bulgarian catalogue lacks some and may not be installed,
// so the program carries them.
class ParserTexts : public QTranslator {
public:
    [[nodiscard]] QString translate(const char* context, const char* sourceText,
                                    const char* /*disambiguation*/, int /*n*/) const override {
        static const QHash<QByteArray, QString> texts = {
            {"Usage: %1", QStringLiteral("Употреба: %1")},
            {"[options]", QStringLiteral("[опции]")},
            {"Options:", QStringLiteral("Опции:")},
            {"Unknown option '%1'.", QStringLiteral("Непозната опция: „%1“.")},
            {"Unknown options: %1.", QStringLiteral("Непознати опции: %1.")},
            {"Missing value after '%1'.", QStringLiteral("Липсва стойност след „%1“.")},
            {"Unexpected value after '%1'.", QStringLiteral("Неочаквана стойност след „%1“.")},
        };
        if (qstrcmp(context, "QCommandLineParser") != 0)
            return {};
        return texts.value(sourceText);
    }
    [[nodiscard]] bool isEmpty() const override { return false; }
};

// What Qt itself takes from the command line when the window's application starts. They
// are accepted here too, and listed by --help-all.
QList<QCommandLineOption> QtOptions() {
    struct Option {
        const char* name;
        const char* value; // nullptr: the option takes none
        const char* description;
    };
    static constexpr auto options = std::to_array<Option>({
        {"platform", "платформа", "Графичната платформа на Qt и нейните настройки."},
        {"platformpluginpath", "папка", "Папката с приставките за графичните платформи на Qt."},
        {"platformtheme", "тема", "Темата на графичната платформа."},
        {"plugin", "приставка", "Допълнителна приставка на Qt; може да се задава многократно."},
        {"qwindowgeometry", "геометрия",
         "Размерът и положението на прозореца (напр. 700x534+100+100)."},
        {"qwindowicon", "файл", "Иконата на прозореца."},
        {"qwindowtitle", "заглавие", "Заглавието на прозореца."},
        {"reverse", nullptr, "Подрежда всичко отдясно наляво (за проверка на оформлението)."},
        {"session", "сесия", "Възстановява програмата от предишна сесия."},
        {"style", "стил", "Стилът на контекстните менюта."},
        {"stylesheet", "файл", "Файл със стилова таблица на Qt."},
        {"widgetcount", nullptr,
         "При затваряне съобщава колко графични елемента са останали и колко най-много е имало едновременно."},
        {"display", "дисплей", "Дисплеят на X11 вместо $DISPLAY."},
        {"name", "име", "Името на програмата за X11."},
        {"nograb", nullptr, "Не прихваща мишката (удобно при работа с дебъгер)."},
        {"dograb", nullptr, "Прихваща мишката дори при работа с дебъгер."},
        {"visual", "номер", "Визуалният тип на X11."},
        {"geometry", "геометрия", "Същото като --qwindowgeometry."},
        {"icon", "файл", "Същото като --qwindowicon."},
        {"title", "заглавие", "Същото като --qwindowtitle."},
    });
    QList<QCommandLineOption> list;
    for (const Option& option : options)
        list.append(QCommandLineOption(QString::fromLatin1(option.name),
                                       QString::fromUtf8(option.description),
                                       QString::fromUtf8(option.value ? option.value : "")));
    return list;
}

// Writes the answer and ends. A Windows GUI program has no terminal of its own: it writes
// where its output is sent, else into the terminal it was started from, else into a
// message box.
[[noreturn]] void answer(const QString& text, int status) {
    FILE* stream = status == EXIT_SUCCESS ? stdout : stderr;
#ifdef Q_OS_WIN
    const DWORD handle = status == EXIT_SUCCESS ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    if (GetFileType(GetStdHandle(handle)) == FILE_TYPE_UNKNOWN) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
            MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()), L"Велинора",
                        MB_OK | (status == EXIT_SUCCESS ? MB_ICONINFORMATION : MB_ICONERROR));
            std::exit(status);
        }
        std::freopen("CONOUT$", "w", stream);
        SetConsoleOutputCP(CP_UTF8);
    }
#endif
    std::fputs(text.toUtf8().constData(), stream);
    std::exit(status);
}

// Qt's own options are spelled with one dash, as Qt reads them.
void describeOptions(QCommandLineParser& parser, bool withQtOptions) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Показва какво казва за характера всяка буква на въведеното име."));
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                      QStringLiteral("Показва тази помощ.")});
    parser.addOption(
        {QStringLiteral("help-all"), QStringLiteral("Показва помощта заедно с опциите на Qt.")});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")},
                      QStringLiteral("Показва версията на програмата.")});
    for (QCommandLineOption option : QtOptions()) {
        if (!withQtOptions)
            option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

void AnswerCommandLine(int argc, char** argv) {
    const QCoreApplication commandLine(argc, argv);
    ParserTexts texts;
    QCoreApplication::installTranslator(&texts);

    QCommandLineParser parser;
    describeOptions(parser, false);
    if (!parser.parse(QCoreApplication::arguments()))
        answer(QStringLiteral("%1: %2\nВижте „%1 --help“ за повече информация.\n")
                   .arg(QCoreApplication::applicationName(), parser.errorText()),
               EXIT_FAILURE);
    if (parser.isSet(QStringLiteral("help-all"))) {
        QCommandLineParser all;
        describeOptions(all, true);
        answer(all.helpText(), EXIT_SUCCESS);
    }
    if (parser.isSet(QStringLiteral("help")))
        answer(parser.helpText(), EXIT_SUCCESS);
    if (parser.isSet(QStringLiteral("version")))
        answer(QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                             QCoreApplication::applicationVersion()),
               EXIT_SUCCESS);
}
