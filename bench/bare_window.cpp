// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for start-up figures: an empty Qt window of the program's size.
// With --with-text it also shows one line of text, so that it loads fonts too.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setFixedSize(700, 534);
    if (QApplication::arguments().contains(QStringLiteral("--with-text")))
        new QLabel(QStringLiteral("Въведете името си :"), &window);
    window.show();
    return QApplication::exec();
}
