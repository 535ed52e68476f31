// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "accessibility_notice.h"
#include "accessibility_text_boxes.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QWidget>

namespace {

// A plain QWidget reaches screen readers as a "filler"; the program's window is a frame.
// The notice is listed last among its children, so that it belongs to the window.
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    [[nodiscard]] int childCount() const override {
        return QAccessibleWidget::childCount() + (notice() ? 1 : 0);
    }
    [[nodiscard]] QAccessibleInterface* child(int index) const override {
        if (index == QAccessibleWidget::childCount() && notice())
            return QAccessible::queryAccessibleInterface(notice());
        return QAccessibleWidget::child(index);
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
        if (child && notice() && child->object() == notice())
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }

private:
    [[nodiscard]] ScreenReaderNotice* notice() const {
        return widget()->findChild<ScreenReaderNotice*>(QString(), Qt::FindDirectChildrenOnly);
    }
};

// Qt names the application after applicationName(), which must stay the Latin "velinora"
// because it gives the window its class.
class ApplicationAccessible : public QAccessibleApplication {
public:
    [[nodiscard]] QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return QStringLiteral("Велинора");
        return QAccessibleApplication::text(t);
    }
};

QAccessibleInterface* CreateAccessible(const QString& /*className*/, QObject* object) {
    if (object == QCoreApplication::instance())
        return new ApplicationAccessible;
    // By its class's name, which keeps the window's header out of what it is made of.
    if (object->inherits("Form1"))
        return new WindowAccessible(static_cast<QWidget*>(object));
    if (QAccessibleInterface* box = CreateTextBoxAccessible(object))
        return box;
    return CreateNoticeAccessible(object);
}

} // namespace

void InstallAccessibility() {
    QAccessible::installFactory(CreateAccessible);
}
