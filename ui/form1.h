// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter_table.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class ScreenReaderNotice;

// The program's one window: a name box, the analyse button and the result box.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

private:
    void analyze();
    void createControls();
    void centreOnScreen();
    void applyLook();

    const velinora::LetterTable table_;

    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    ScreenReaderNotice* notice_ = nullptr;
};
