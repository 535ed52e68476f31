// Times a 10,000-letter name pasted into the name box and analysed, from Enter to the
// result box filled and painted, beside a bare QPlainTextEdit given the same text;
// then the same for a paste at the name box's limit.
#include "form1.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Letters = 10000;
constexpr int Runs = 9;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double elapsedMs(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    QString name;
    while (name.size() < Letters)
        name += QStringLiteral("Мария-Антоанета ");
    name.truncate(Letters);

    std::vector<double> program;
    std::vector<double> bare;
    QString shown;
    for (int run = 0; run < Runs; ++run) {
        Form1 form;
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return 1;
        auto* text1 = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
        auto* text2 = form.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
        QApplication::clipboard()->setText(name);
        text1->paste();

        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(text1, Qt::Key_Return);
        text2->repaint();
        program.push_back(elapsedMs(timer));
        shown = text2->toPlainText();

        QPlainTextEdit plain;
        plain.setFont(text2->font());
        plain.resize(text2->size());
        plain.show();
        if (!QTest::qWaitForWindowExposed(&plain))
            return 1;
        timer.restart();
        plain.setPlainText(shown);
        plain.repaint();
        bare.push_back(elapsedMs(timer));
    }

    const double p = median(program);
    const double b = median(bare);
    std::printf("large name (%d letters, %lld characters shown), median of %d runs\n", Letters,
                static_cast<long long>(shown.size()), Runs);
    std::printf("  program: Enter to result shown  %8.1f ms\n", p);
    std::printf("  bare setPlainText of the same   %8.1f ms\n", b);
    std::printf("  ratio                           %8.2fx (goal 1.20x)\n", p / b);

    Form1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    auto* text1 = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* text2 = form.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
    QApplication::clipboard()->setText(name.repeated(4));
    text1->paste();
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(text1, Qt::Key_Return);
    text2->repaint();
    std::printf("paste of %lld characters, %lld kept: Enter to result shown %.1f ms\n",
                static_cast<long long>(name.size() * 4),
                static_cast<long long>(text1->text().size()), elapsedMs(timer));
    return 0;
}
