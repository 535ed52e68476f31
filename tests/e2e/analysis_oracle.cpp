// Prints the analysis of the name given as its argument the way the result box
// shows it (one line feed per line break), for the end-to-end test to compare with.
#include "letter_table.h"
#include "name_analysis.h"

#include <QString>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: analysis_oracle NAME\n", stderr);
        return 2;
    }
    const velinora::LetterTable table = velinora::BuildLetterTable();
    const std::u16string name = QString::fromUtf8(argv[1]).toStdU16String();
    QString shown = QString::fromStdU16String(velinora::AnalyzeName(name, table));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QByteArray utf8 = shown.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
    return 0;
}
