// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Gives screen readers the program's own accessible objects: the name box, the window,
// the application and the notice below. Call once, right after the QApplication exists.
void InstallAccessibility();

// Says a short message through the screen reader while the focus stays where it is.
// It has no widget, so the window looks exactly the same.
class ScreenReaderNotice : public QObject {
    Q_OBJECT

public:
    explicit ScreenReaderNotice(QWidget* window);

    void announce(const QString& message);
    [[nodiscard]] const QString& message() const { return message_; }

private:
    QString message_;
};
