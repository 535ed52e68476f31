// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter_table.h"
#include "name_analysis.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>

using namespace velinora;

namespace {

const LetterTable Table = BuildLetterTable();
constexpr std::u16string_view Headings = u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯ";

std::u16string Analyze(std::u16string_view name) {
    return AnalyzeName(name, Table);
}

// FNV-1a over the code units. It pins every word of every paragraph, so an
// intended edit changes exactly one expected value below.
std::uint64_t Digest(std::u16string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char16_t unit : text)
        hash = (hash ^ unit) * 1099511628211ULL;
    return hash;
}

} // namespace

TEST(LetterTable, HoldsTheAlphabetWithParagraphsOfTheirLengthAndEnding) {
    // An edit must keep each paragraph's length, its last character and Ф's and Ш's double space.
    constexpr std::array<std::size_t, LetterCount> lengths = {
        259, 195, 130, 188, 315, 204, 233, 279, 185, 195, 268, 220, 130, 117, 194,
        189, 191, 100, 160, 124, 236, 184, 128, 211, 116, 113, 77,  105, 133, 78};
    constexpr std::u16string_view endings = u"...?........б.................";
    for (std::size_t index = 1; index <= LetterCount; ++index) {
        SCOPED_TRACE(index);
        const LetterEntry& row = Table.row(index);
        const char16_t heading = Headings[index - 1];
        EXPECT_EQ(row.text.substr(0, 5), (std::u16string{u'\r', u'\n', heading, u'\r', u'\n'}));
        ASSERT_EQ(row.text.size(), lengths[index - 1] + 5);
        EXPECT_EQ(row.text.back(), endings[index - 1]);
        EXPECT_EQ(row.text.find(u"  ") != std::u16string::npos, heading == u'Ф' || heading == u'Ш');
    }
    EXPECT_EQ(Digest(Analyze(Headings)), 0x60893cdcbcb7e347ULL);
}

TEST(NameAnalysis, GivesTheEntriesOfTheLettersInOrderWithEmptyLinesBetween) {
    const std::u16string iva = Analyze(u"Ива");
    EXPECT_EQ(iva.size(), 591U);
    EXPECT_TRUE(iva.starts_with(u"И\r\nНе обещавайте"));
    const std::u16string a = Analyze(u"а");
    const std::u16string n = Analyze(u"н");
    EXPECT_EQ(Analyze(u"Анна"), a + u"\r\n\r\n" + n + u"\r\n\r\n" + n + u"\r\n\r\n" + a);
    EXPECT_EQ(Analyze(u""), u"");
}

TEST(NameAnalysis, CharactersThatAreNoLetterAddNothing) {
    EXPECT_EQ(Analyze(u"  Анна-Мария д'Ор 2\t\r\n"), Analyze(u"аннамариядор"));
    EXPECT_EQ(Analyze(u"Ivan ыэЫЭЁёЍѝ 0"), u"");
    EXPECT_EQ(Analyze(std::u16string{char16_t{0xD800}, u'а', char16_t{0xDFFF}}), Analyze(u"а"));
}
