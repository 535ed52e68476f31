// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

// Pastes `name` into a fresh window's name box and times Enter until the result box
// has painted its text. Returns the time; `shown` and `kept` say what came of it.
double timePastedAnalysis(const QString& name, QString& shown, qsizetype& kept) {
    Form1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the window was never shown");
    auto* text1 = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* text2 = form.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
    QApplication::clipboard()->setText(name);
    text1->paste();

    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(text1, Qt::Key_Return);
    text2->repaint();
    const double ms = elapsedMs(timer);
    shown = text2->toPlainText();
    kept = text1->text().size();
    return ms;
}

// A QPlainTextEdit like the result box, given the same text directly.
double timeBareSetPlainText(const QString& text, const QFont& font, QSize size) {
    QPlainTextEdit plain;
    plain.setFont(font);
    plain.resize(size);
    plain.show();
    if (!QTest::qWaitForWindowExposed(&plain))
        qFatal("the bare box was never shown");
    QElapsedTimer timer;
    timer.start();
    plain.setPlainText(text);
    plain.repaint();
    return elapsedMs(timer);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    QString name;
    while (name.size() < Letters)
        name += QStringLiteral("Мария-Антоанета ");
    name.truncate(Letters);

    // The result box's font and size, for the bare box.
    const Form1 reference;
    const auto* resultBox = reference.findChild<QPlainTextEdit*>(QStringLiteral("Text2"));

    std::vector<double> program;
    std::vector<double> bare;
    QString shown;
    qsizetype kept = 0;
    for (int run = 0; run < Runs; ++run) {
        program.push_back(timePastedAnalysis(name, shown, kept));
        bare.push_back(timeBareSetPlainText(shown, resultBox->font(), resultBox->size()));
    }

    const double p = median(program);
    const double b = median(bare);
    std::printf("large name (%d letters, %lld characters shown), median of %d runs\n", Letters,
                static_cast<long long>(shown.size()), Runs);
    std::printf("  program: Enter to result shown  %8.1f ms\n", p);
    std::printf("  bare setPlainText of the same   %8.1f ms\n", b);
    std::printf("  ratio                           %8.2fx (goal 1.20x)\n", p / b);

    const QString overLimit = name.repeated(4);
    const double ms = timePastedAnalysis(overLimit, shown, kept);
    std::printf("paste of %lld characters, %lld kept: Enter to result shown %.1f ms\n",
                static_cast<long long>(overLimit.size()), static_cast<long long>(kept), ms);
    return 0;
}
