// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_items.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

// Failures show the text, not its code units.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

QString Item(
    const QString& text, int offset, QAccessible::TextBoundaryType boundary, int step,
    const LineStarts& lines = [](int first, int) { return QList<int>{first}; }) {
    const TextItem item = ItemNear(text, offset, boundary, step, lines);
    return item.start < 0 ? QStringLiteral("<none>") : text.mid(item.start, item.end - item.start);
}

// What a screen reader meets at, before and after every offset of a text made of these
// items, the caret at the end still on the last item unless it is a character.
void ExpectItemsAtEveryOffset(const QStringList& items, QAccessible::TextBoundaryType boundary) {
    const QString text = items.join(QString());
    std::vector<int> ends;
    for (qsizetype i = 0, end = 0; i < items.size(); ++i)
        ends.push_back(static_cast<int>(end += items[i].size()));
    for (int offset = 0; offset <= text.size(); ++offset) {
        SCOPED_TRACE(testing::Message() << "offset " << offset << ", boundary " << boundary);
        qsizetype at = 0;
        while (at < items.size() && ends[at] <= offset)
            ++at;
        if (at == items.size() && boundary != QAccessible::CharBoundary)
            at = items.size() - 1;
        for (const int step : {-1, 0, 1}) {
            const qsizetype index = at + step;
            const QString expected = index >= 0 && index < items.size() ? items[index] : QString();
            EXPECT_EQ(Item(text, offset, boundary, step), expected) << "step " << step;
        }
    }
}

} // namespace

TEST(TextItems, EachKindAtBeforeAndAfterEveryOffsetOfAName) {
    const QString name = QStringLiteral("Анна-Мария Петрова");
    QStringList characters;
    for (const QChar c : name)
        characters += QString(c);
    ExpectItemsAtEveryOffset(characters, QAccessible::CharBoundary);
    // A gap between words, and a hyphen, are items of their own.
    ExpectItemsAtEveryOffset({QStringLiteral("Анна"), QStringLiteral("-"), QStringLiteral("Мария"),
                              QStringLiteral(" "), QStringLiteral("Петрова")},
                             QAccessible::WordBoundary);
    ExpectItemsAtEveryOffset({name}, QAccessible::SentenceBoundary);
    ExpectItemsAtEveryOffset({name}, QAccessible::LineBoundary);
    ExpectItemsAtEveryOffset({QStringLiteral("Ива. "), QStringLiteral("Ян")},
                             QAccessible::SentenceBoundary);
}

TEST(TextItems, LinesAreWhereTheBoxWrapsAndParagraphsEndAtLineFeeds) {
    // Two entries as the result box shows them, the first paragraph wrapped after "на ".
    const QString text = QStringLiteral("И\nНе обещавайте на човек\n\nВ\nСъгласната");
    const auto wrapped = [&text](int first, int last) {
        QList<int> starts;
        for (int at = first; at < last; ++at) {
            if (at == 0 || text.at(at - 1) == QLatin1Char('\n'))
                starts.append(at);
        }
        const auto wrap = static_cast<int>(text.indexOf(QStringLiteral("човек")));
        if (wrap >= first && wrap < last)
            starts.append(wrap);
        std::sort(starts.begin(), starts.end());
        return starts;
    };
    const int second = static_cast<int>(text.indexOf(QChar(u'В')));
    EXPECT_EQ(Item(text, 0, QAccessible::LineBoundary, 0, wrapped), QStringLiteral("И\n"));
    EXPECT_EQ(Item(text, 2, QAccessible::LineBoundary, 0, wrapped),
              QStringLiteral("Не обещавайте на "));
    EXPECT_EQ(Item(text, 2, QAccessible::LineBoundary, 1, wrapped), QStringLiteral("човек\n"));
    EXPECT_EQ(Item(text, second, QAccessible::LineBoundary, -1, wrapped), QStringLiteral("\n"));
    EXPECT_EQ(Item(text, second, QAccessible::ParagraphBoundary, 0), QStringLiteral("В\n"));
    EXPECT_EQ(Item(text, second, QAccessible::ParagraphBoundary, -1), QStringLiteral("\n"));
}

TEST(TextItems, OffsetsOutsideTheTextAndPaddedInsertions) {
    const QString name = QStringLiteral("Ива");
    for (const int offset : {-3, 4, 1 << 30}) {
        const TextItem item = ItemNear(name, offset, QAccessible::WordBoundary, 0,
                                       [](int first, int) { return QList<int>{first}; });
        EXPECT_EQ(item.start, -1);
        EXPECT_EQ(item.end, -1);
    }
    EXPECT_EQ(Item(QString(), 0, QAccessible::WordBoundary, 0), QString());
    EXPECT_EQ(WithoutPadding(name + QString(5, QChar::Null)), name);
    EXPECT_EQ(WithoutPadding(name), name);
}
