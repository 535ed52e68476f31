// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QAccessibleInterface;
class QWidget;

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

// What screen readers see of a ScreenReaderNotice; nullptr for any other object.
QAccessibleInterface* CreateNoticeAccessible(QObject* object);
