// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_items.h"

#include <QChar>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <utility>

namespace {

// Where the items of one kind start within `text`, in order, with 0 first and the end
// last. `lines` are where the visual lines start, for a box that wraps.
QList<int> ItemStarts(const QString& text, QAccessible::TextBoundaryType boundary,
                      const QList<int>& lines) {
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
        starts.append(lines);
        break;
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

// The paragraph holding `offset` and one on each side, as [first, last): no item of any
// kind crosses a line feed, so the items near an offset all lie in there.
std::pair<int, int> ParagraphsAround(const QString& text, int offset) {
    const auto length = static_cast<int>(text.size());
    auto startBefore = [&](int at) { // of the paragraph holding at - 1
        return at > 0 ? static_cast<int>(text.lastIndexOf(QChar::LineFeed, at - 1)) + 1 : 0;
    };
    auto endFrom = [&](int at) { // of the paragraph holding at, its line feed included
        const auto feed = static_cast<int>(text.indexOf(QChar::LineFeed, at));
        return feed < 0 ? length : feed + 1;
    };
    const int start = startBefore(offset);
    const int end = endFrom(offset);
    return {start > 0 ? startBefore(start - 1) : 0, end < length ? endFrom(end) : length};
}

} // namespace

TextItem ItemNear(const QString& text, int offset, QAccessible::TextBoundaryType boundary, int step,
                  const LineStarts& lineStarts) {
    const auto length = static_cast<int>(text.size());
    if (offset < 0 || offset > length)
        return {};
    const auto [first, last] = ParagraphsAround(text, offset);
    QList<int> lines = lineStarts(first, last);
    for (int& line : lines)
        line -= first;
    QList<int> starts = ItemStarts(text.mid(first, last - first), boundary, lines.mid(1));
    for (int& start : starts)
        start += first;
    const qsizetype items = starts.size() - 1;
    // The end of the text counts as one more, empty item...
    qsizetype index = std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin() - 1;
    // ...but a caret just after the last word is still on it; only a character is not there.
    if (offset == length && index == items && items > 0 && boundary != QAccessible::CharBoundary)
        index = items - 1;
    index += step;
    if (index < 0 || index >= items)
        return {index < 0 ? first : last, index < 0 ? first : last};
    return {starts.at(index), starts.at(index + 1)};
}

QString WithoutPadding(const QString& text) {
    return text.left(text.indexOf(QChar::Null));
}
