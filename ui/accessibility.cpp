// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "form1.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QList>
#include <QTextBoundaryFinder>
#include <QVariant>
#include <algorithm>

namespace {

// Where the items of one kind start, in order, with 0 first and the text's end last.
QList<int> ItemStarts(const QString& text, QAccessible::TextBoundaryType boundary) {
    const auto length = static_cast<int>(text.size());
    QList<int> starts{0};
    auto finderItems = [&](QTextBoundaryFinder::BoundaryType type) {
        QTextBoundaryFinder finder(type, text);
        // A gap between words is an item of its own, as in Qt's own text accessibles.
        for (qsizetype at = finder.toNextBoundary(); at > 0 && at < length;
             at = finder.toNextBoundary()) {
            if (finder.boundaryReasons() &
                (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem))
                starts.append(static_cast<int>(at));
        }
    };
    switch (boundary) {
    case QAccessible::CharBoundary:
        finderItems(QTextBoundaryFinder::Grapheme);
        break;
    case QAccessible::WordBoundary:
        finderItems(QTextBoundaryFinder::Word);
        break;
    case QAccessible::SentenceBoundary:
        finderItems(QTextBoundaryFinder::Sentence);
        break;
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
        for (int at = 1; at < length; ++at) {
            if (text.at(at - 1) == QChar::LineFeed)
                starts.append(at);
        }
        break;
    case QAccessible::NoBoundary:
        break;
    }
    if (length > 0)
        starts.append(length);
    return starts;
}

// The item `step` items away (-1 before, 0 at, 1 after) from the one holding `offset`.
// Qt 6.4's own QAccessibleTextInterface never returns for a word or sentence at the
// text's end; this walks a finished list of boundaries instead, so it always ends.
QString ItemNear(const QString& text, int offset, QAccessible::TextBoundaryType boundary, int step,
                 int* startOffset, int* endOffset) {
    const auto length = static_cast<int>(text.size());
    if (offset == -1)
        offset = length;
    if (offset < 0 || offset > length) {
        *startOffset = *endOffset = -1;
        return {};
    }
    const QList<int> starts = ItemStarts(text, boundary);
    const qsizetype items = starts.size() - 1;
    // The end of the text counts as one more, empty item...
    qsizetype index = std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin() - 1;
    // ...but a caret just after the last word is still on it; only a character is not there.
    if (step == 0 && index == items && items > 0 && boundary != QAccessible::CharBoundary)
        index = items - 1;
    index += step;
    if (index < 0 || index >= items) {
        *startOffset = *endOffset = index < 0 ? 0 : length;
        return {};
    }
    *startOffset = starts.at(index);
    *endOffset = starts.at(index + 1);
    return text.mid(*startOffset, *endOffset - *startOffset);
}

// What Qt's own line edit accessible offers, with text items that are always found.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    [[nodiscard]] QString text(QAccessible::Text t) const override {
        QString str = t == QAccessible::Value ? shown() : QString();
        if (str.isEmpty())
            str = QAccessibleWidget::text(t);
        if (str.isEmpty() && t == QAccessible::Description)
            str = edit()->placeholderText();
        return str;
    }

    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value)
            edit()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }

    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.readOnly = edit()->isReadOnly();
        state.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !edit()->hasSelectedText())
            return;
        *startOffset = edit()->selectionStart();
        *endOffset = edit()->selectionEnd();
    }
    [[nodiscard]] int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0)
            edit()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0)
            edit()->setSelection(startOffset, endOffset - startOffset);
    }

    [[nodiscard]] int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }

    [[nodiscard]] QString text(int startOffset, int endOffset) const override {
        if (startOffset > endOffset)
            return {};
        return shown().mid(startOffset, endOffset - startOffset);
    }
    [[nodiscard]] int characterCount() const override { return static_cast<int>(shown().size()); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override {
        return ItemNear(shown(), caretIfAsked(offset), boundaryType, -1, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override {
        return ItemNear(shown(), caretIfAsked(offset), boundaryType, 1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override {
        return ItemNear(shown(), caretIfAsked(offset), boundaryType, 0, startOffset, endOffset);
    }

    [[nodiscard]] QRect characterRect(int offset) const override {
        const QString str = shown();
        if (offset < 0 || offset >= str.size())
            return {};
        // The line edit tells only where its caret is, in a rectangle centred on it; the
        // character is measured from there.
        const QRect caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QFontMetrics metrics(edit()->font());
        const int left = caret.x() + caret.width() / 2 +
                         metrics.horizontalAdvance(str.left(offset)) -
                         metrics.horizontalAdvance(str.left(edit()->cursorPosition()));
        const QRect rect(left, caret.y(), metrics.horizontalAdvance(str.mid(offset, 1)),
                         caret.height());
        return rect.translated(edit()->mapToGlobal(QPoint(0, 0)));
    }
    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        edit()->setCursorPosition(endIndex);
        edit()->setCursorPosition(startIndex);
    }
    [[nodiscard]] QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset; // a line edit has one format throughout
        return {};
    }

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override {
        edit()->setText(edit()->text().remove(startOffset, endOffset - startOffset));
    }
    void insertText(int offset, const QString& text) override {
        edit()->setText(edit()->text().insert(offset, text));
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        edit()->setText(edit()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    [[nodiscard]] QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
    // A password's characters are never handed out.
    [[nodiscard]] QString shown() const {
        return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : QString();
    }
    // By convention -2 asks for the item at the caret.
    [[nodiscard]] int caretIfAsked(int offset) const {
        return offset == -2 ? cursorPosition() : offset;
    }
};

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

class NoticeAccessible : public QAccessibleObject {
public:
    explicit NoticeAccessible(ScreenReaderNotice* notice) : QAccessibleObject(notice) {}

    [[nodiscard]] QWindow* window() const override { return owner()->window()->windowHandle(); }
    [[nodiscard]] QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner());
    }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* /*child*/) const override {
        return -1;
    }

    [[nodiscard]] QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? notice()->message() : QString();
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Notification; }
    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = notice()->message().isEmpty();
        return state;
    }

private:
    [[nodiscard]] ScreenReaderNotice* notice() const {
        return static_cast<ScreenReaderNotice*>(object());
    }
    [[nodiscard]] QWidget* owner() const { return static_cast<QWidget*>(notice()->parent()); }
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
    if (auto* edit = qobject_cast<QLineEdit*>(object))
        return new LineEditAccessible(edit);
    if (auto* form = qobject_cast<Form1*>(object))
        return new WindowAccessible(form);
    if (auto* notice = qobject_cast<ScreenReaderNotice*>(object))
        return new NoticeAccessible(notice);
    return nullptr;
}

} // namespace

void InstallAccessibility() {
    QAccessible::installFactory(CreateAccessible);
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
