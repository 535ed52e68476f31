// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility_text_boxes.h"

#include "text_items.h"
#include "ui_automation.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QList>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QVariant>
#include <algorithm>

namespace {

// What screen readers read and change in a text box. Qt 6.4's own text interface never
// returns for a word or sentence at the text's end, and takes a client's offsets and
// lengths as they come; here every answer comes from a finished list of boundaries, and
// every offset is bounded by the text that is there, so no call can run away.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(QWidget* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    [[nodiscard]] QString text(QAccessible::Text t) const override {
        QString str = t == QAccessible::Value ? shown() : QString();
        return str.isEmpty() ? QAccessibleWidget::text(t) : str;
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value)
            replace(0, characterCount(), WithoutPadding(text));
        else
            QAccessibleWidget::setText(t, text);
    }
    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
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

    // To UI Automation a box is one element, its text read through the Text pattern. The
    // result box's viewport and the frame of its scroll bar would be stops named nothing,
    // and the scroll bar one more, never focused and only following the caret.
    [[nodiscard]] int childCount() const override {
        return ThroughUiAutomation() ? 0 : QAccessibleWidget::childCount();
    }
    [[nodiscard]] QAccessibleInterface* child(int index) const override {
        return ThroughUiAutomation() ? nullptr : QAccessibleWidget::child(index);
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
        return ThroughUiAutomation() ? -1 : QAccessibleWidget::indexOfChild(child);
    }

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        const auto [start, end] = selected();
        const bool there = selectionIndex == 0 && start != end;
        *startOffset = there ? start : 0;
        *endOffset = there ? end : 0;
    }
    [[nodiscard]] int selectionCount() const override {
        const auto [start, end] = selected();
        return start != end ? 1 : 0;
    }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0)
            select(caret(), caret());
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0)
            select(bounded(startOffset), bounded(endOffset));
    }
    [[nodiscard]] int cursorPosition() const override { return caret(); }
    void setCursorPosition(int position) override { select(bounded(position), bounded(position)); }

    [[nodiscard]] QString text(int startOffset, int endOffset) const override {
        const int start = bounded(startOffset);
        return shown().mid(start, std::max(bounded(endOffset) - start, 0));
    }
    [[nodiscard]] int characterCount() const override { return static_cast<int>(shown().size()); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override {
        return itemNear(offset, boundaryType, -1, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override {
        return itemNear(offset, boundaryType, 1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override {
        return itemNear(offset, boundaryType, 0, startOffset, endOffset);
    }

    [[nodiscard]] QRect characterRect(int offset) const override {
        const QString str = shown();
        if (offset < 0 || offset >= str.size())
            return {};
        const QFontMetrics metrics(widget()->font());
        const QRect caret = caretRect(offset);
        return {widget()->mapToGlobal(caret.center()) - QPoint(0, caret.height() / 2),
                QSize(metrics.horizontalAdvance(str.at(offset)), caret.height())};
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        setCursorPosition(endIndex);
        setCursorPosition(startIndex);
    }
    // One format throughout, in one run over the whole text: Orca reads a line in the
    // runs it spans, and says nothing of a line in none.
    [[nodiscard]] QString attributes(int /*offset*/, int* startOffset,
                                     int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override {
        replace(bounded(startOffset), bounded(endOffset), {});
    }
    void insertText(int offset, const QString& text) override {
        replace(bounded(offset), bounded(offset), WithoutPadding(text));
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        replace(bounded(startOffset), bounded(endOffset), WithoutPadding(text));
    }

protected:
    [[nodiscard]] virtual QString shown() const = 0;
    [[nodiscard]] virtual int caret() const = 0;
    // Where the selection starts and ends; where the caret is when there is none.
    [[nodiscard]] virtual std::pair<int, int> selected() const = 0;
    // Selects from `start` to `end`, with the caret at `end`: both within the text.
    virtual void select(int start, int end) = 0;
    virtual void replace(int start, int end, const QString& text) = 0;
    // The caret's rectangle, in the box's coordinates, were it at `offset`.
    [[nodiscard]] virtual QRect caretRect(int offset) const = 0;
    // Where the visual lines in [first, last) start, first included.
    [[nodiscard]] virtual QList<int> lineStarts(int first, int /*last*/) const { return {first}; }

private:
    // Offsets in reverse, or past the end, are taken to the nearest end of the text.
    [[nodiscard]] int bounded(int offset) const { return std::clamp(offset, 0, characterCount()); }

    // The item `step` items away (-1 before, 0 at, 1 after) from the one holding `offset`.
    QString itemNear(int offset, QAccessible::TextBoundaryType boundary, int step, int* startOffset,
                     int* endOffset) const {
        const QString text = shown();
        if (offset == -2) // by convention the caret
            offset = caret();
        if (offset == -1)
            offset = static_cast<int>(text.size());
        const TextItem item = ItemNear(text, offset, boundary, step, [this](int first, int last) {
            return lineStarts(first, last);
        });
        *startOffset = item.start;
        *endOffset = item.end;
        return item.start < 0 ? QString() : text.mid(item.start, item.end - item.start);
    }
};

class LineEditAccessible : public TextBoxAccessible {
public:
    explicit LineEditAccessible(QLineEdit* edit) : TextBoxAccessible(edit) {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }

protected:
    [[nodiscard]] QString shown() const override { return edit()->text(); }
    [[nodiscard]] int caret() const override { return edit()->cursorPosition(); }
    [[nodiscard]] std::pair<int, int> selected() const override {
        if (!edit()->hasSelectedText())
            return {caret(), caret()};
        return {edit()->selectionStart(), edit()->selectionEnd()};
    }
    void select(int start, int end) override {
        if (start == end)
            edit()->setCursorPosition(end);
        else
            edit()->setSelection(start, end - start);
    }
    void replace(int start, int end, const QString& text) override {
        edit()->setText(edit()->text().replace(start, end - start, text));
    }
    // The line edit tells only where its caret is; the offset is measured from there.
    [[nodiscard]] QRect caretRect(int offset) const override {
        const QString str = edit()->text();
        const QFontMetrics metrics(edit()->font());
        const QRect caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        return caret.translated(metrics.horizontalAdvance(str.left(offset)) -
                                    metrics.horizontalAdvance(str.left(edit()->cursorPosition())),
                                0);
    }

private:
    [[nodiscard]] QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
};

class PlainTextEditAccessible : public TextBoxAccessible {
public:
    explicit PlainTextEditAccessible(QPlainTextEdit* edit) : TextBoxAccessible(edit) {}

    [[nodiscard]] QAccessible::State state() const override {
        QAccessible::State state = TextBoxAccessible::state();
        state.multiLine = true;
        return state;
    }
    [[nodiscard]] int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorForPosition(edit()->viewport()->mapFromGlobal(point)).position();
    }
    [[nodiscard]] int characterCount() const override {
        return edit()->document()->characterCount() - 1; // without the copy toPlainText makes
    }

protected:
    [[nodiscard]] QString shown() const override { return edit()->toPlainText(); }
    [[nodiscard]] int caret() const override { return edit()->textCursor().position(); }
    [[nodiscard]] std::pair<int, int> selected() const override {
        const QTextCursor cursor = edit()->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }
    void select(int start, int end) override {
        QTextCursor cursor = edit()->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        edit()->setTextCursor(cursor);
    }
    void replace(int start, int end, const QString& text) override {
        QTextCursor cursor(edit()->document());
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.insertText(text);
    }
    [[nodiscard]] QRect caretRect(int offset) const override {
        QTextCursor cursor(edit()->document());
        cursor.setPosition(offset);
        return edit()->cursorRect(cursor).translated(edit()->viewport()->pos());
    }
    [[nodiscard]] QList<int> lineStarts(int first, int last) const override {
        QList<int> starts;
        // A paragraph starts a line, and wraps into more where the box has laid it out.
        for (QTextBlock block = edit()->document()->findBlock(first);
             block.isValid() && block.position() < last; block = block.next()) {
            starts.append(block.position());
            for (int line = 1; line < block.layout()->lineCount(); ++line)
                starts.append(block.position() + block.layout()->lineAt(line).textStart());
        }
        return starts;
    }

private:
    [[nodiscard]] QPlainTextEdit* edit() const { return static_cast<QPlainTextEdit*>(widget()); }
};

} // namespace

QAccessibleInterface* CreateTextBoxAccessible(QObject* object) {
    if (auto* edit = qobject_cast<QLineEdit*>(object))
        return new LineEditAccessible(edit);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(object))
        return new PlainTextEditAccessible(edit);
    return nullptr;
}
