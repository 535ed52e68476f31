// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis_announcement.h"
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
    // An edit must keep each paragraph's opening words, length, last character and Ф's
    // and Ш's double space.
    // clang-format off
    constexpr std::array<std::u16string_view, LetterCount> openings = {
        u"Няма да ви се налага да принуждавате хора,",
        u"Тази съгласна внася в характера на човека",
        u"Съгласната В ни кара отначало старателно",
        u"Постарайте се да си спомните свой познат,",
        u"Ако са ви раздали парцели земя, пръв ще я",
        u"Тази бъква придава на характера",
        u"Животът на тези хора протича като на сцена",
        u"З-з-з… С какво се асоциира този звук?",
        u"Не обещавайте на човек с гласна И в името",
        u"Нищо хубаво не обещава на човека",
        u"На човека с буква К в името е присъща",
        u"При притежателя на съгласна Л в името",
        u"Наличието на съгласна М в името дава на",
        u"Съгласната Н дарява личността със строго",
        u"Гласната О зрително представлява затворен",
        u"Да си набележат непристъпен връх, да го",
        u"Ако човек с буквата Р в името е заел от",
        u"Блясък, искрометност - това е",
        u"Днес не съм такъв като вчера - е девизът",
        u"Гласната У внася в характера хитрост или,",
        u"Няма истински стопани по нашите земи не",
        u"Няма да срещнете по-отзивчив човек от",
        u"Съгласната Ц внася в живота на човека",
        u"Имената съдържащи този звук, най-често се",
        u"Съгласната Ш прави човека хладнокръвен. В",
        u"Тази буква поражда стремеж към",
        u"Дори в най-уравновесеният характер тази",
        u"Да изсъхне ръката, която не гребе за себе",
        u"Дарява целеустременост, но едновременно",
        u"На човека с гласна Я в името най-голяма",
    };
    // clang-format on
    constexpr std::array<std::size_t, LetterCount> lengths = {
        259, 195, 130, 188, 315, 204, 233, 279, 185, 195, 268, 220, 130, 117, 194,
        189, 191, 100, 160, 124, 236, 184, 128, 211, 116, 113, 77,  105, 133, 78};
    constexpr std::u16string_view endings = u"...?........б.................";
    for (std::size_t index = 1; index <= LetterCount; ++index) {
        SCOPED_TRACE(index);
        const LetterEntry& row = Table.row(index);
        const char16_t heading = Headings[index - 1];
        EXPECT_EQ(row.text.substr(0, 5), (std::u16string{u'\r', u'\n', heading, u'\r', u'\n'}));
        EXPECT_TRUE(row.text.substr(5).starts_with(openings[index - 1]));
        ASSERT_EQ(row.text.size(), lengths[index - 1] + 5);
        EXPECT_EQ(row.text.back(), endings[index - 1]);
        EXPECT_EQ(row.text.find(u"  ") != std::u16string::npos, heading == u'Ф' || heading == u'Ш');
    }
    EXPECT_EQ(Digest(Analyze(Headings)), 0xb47179fad2f2e119ULL);
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
}

TEST(NameAnalysis, AnalysesEachOfAllCodeUnitsAsTheRowItIsTheKeyOrHeadingOf) {
    for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
        std::u16string expected; // a row's entry less its opening CR LF, or nothing
        for (std::size_t index = 1; index <= LetterCount; ++index)
            if (unit == Table.row(index).key || unit == Table.row(index).heading)
                expected = Table.row(index).text.substr(2);
        ASSERT_EQ(Analyze(std::u16string(1, static_cast<char16_t>(unit))), expected) << unit;
    }
}

TEST(AnalysisAnnouncement, SaysHowManyLettersWereAnalysedOrWhyNone) {
    EXPECT_EQ(AnalysisAnnouncement(u"Анна-Мария Петрова", Table),
              u"Анализът е готов. Анализирани букви: 16. Натиснете Tab два пъти, за да го "
              u"прочетете.");
    EXPECT_NE(AnalysisAnnouncement(u"ёЯ", Table).find(u" букви: 1. "), std::u16string::npos);
    EXPECT_EQ(AnalysisAnnouncement(u"John Smith ыэ", Table),
              u"В името няма български букви, затова няма анализ.");
    EXPECT_EQ(AnalysisAnnouncement(u"", Table), u"Не е въведено име, затова няма анализ.");
    EXPECT_EQ(AnalysisAnnouncement(u" ", Table),
              u"В името няма български букви, затова няма анализ.");
}
