// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility_notice.h"

#include "ui_automation.h"

#include <QAccessibleObject>
#include <QWidget>

namespace {

// The notice's message, as a label inside it: Orca 43 speaks a notification's name and
// then its labels, but puts only the labels in braille. It has no object of its own.
class NoticeTextAccessible : public QAccessibleInterface {
public:
    explicit NoticeTextAccessible(QAccessibleInterface* notice) : notice_(notice) {}

    [[nodiscard]] bool isValid() const override { return notice_->isValid(); }
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override { return notice_->window(); }
    [[nodiscard]] QAccessibleInterface* parent() const override { return notice_; }
    [[nodiscard]] QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* /*child*/) const override {
        return -1;
    }
    [[nodiscard]] QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override {
        return nullptr;
    }
    [[nodiscard]] QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name
                   ? static_cast<ScreenReaderNotice*>(notice_->object())->message()
                   : QString();
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}
    [[nodiscard]] QRect rect() const override { return {}; }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::StaticText; }
    [[nodiscard]] QAccessible::State state() const override { return notice_->state(); }

private:
    QAccessibleInterface* notice_;
};

class NoticeAccessible : public QAccessibleObject {
public:
    explicit NoticeAccessible(ScreenReaderNotice* notice)
        : QAccessibleObject(notice), text_(new NoticeTextAccessible(this)) {}
    ~NoticeAccessible() override {
        // Registered or not, the cache then deletes it.
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(text_));
    }
    NoticeAccessible(const NoticeAccessible&) = delete;
    NoticeAccessible& operator=(const NoticeAccessible&) = delete;

    [[nodiscard]] QWindow* window() const override { return owner()->window()->windowHandle(); }
    [[nodiscard]] QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner());
    }
    [[nodiscard]] int childCount() const override { return notice()->message().isEmpty() ? 0 : 1; }
    [[nodiscard]] QAccessibleInterface* child(int index) const override {
        return index == 0 && childCount() == 1 ? text_ : nullptr;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
        return child == text_ && childCount() == 1 ? 0 : -1;
    }

    [[nodiscard]] QString text(QAccessible::Text /*t*/) const override { return {}; }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Notification; }
    // UI Automation passes the message on as a notification of the window's, which needs
    // no element; there the notice would be an element named nothing, holding an old
    // message, met by everyone who walks the window.
    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = notice()->message().isEmpty() || ThroughUiAutomation();
        return state;
    }

private:
    [[nodiscard]] ScreenReaderNotice* notice() const {
        return static_cast<ScreenReaderNotice*>(object());
    }
    [[nodiscard]] QWidget* owner() const { return static_cast<QWidget*>(notice()->parent()); }

    NoticeTextAccessible* text_;
};

} // namespace

QAccessibleInterface* CreateNoticeAccessible(QObject* object) {
    if (auto* notice = qobject_cast<ScreenReaderNotice*>(object))
        return new NoticeAccessible(notice);
    return nullptr;
}

ScreenReaderNotice::ScreenReaderNotice(QWidget* window) : QObject(window) {}

void ScreenReaderNotice::announce(const QString& message) {
    message_ = message;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(parent(), message);
#else
    // Orca 43 speaks a notification that starts showing, wherever the focus is; Qt 6.4
    // passes that on as state-changed:showing.
    QAccessibleEvent event(this, QAccessible::ObjectShow);
#endif
    QAccessible::updateAccessibility(&event);
}
