#include "letter_table.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <numeric>
#include <string>

using namespace velinora;

namespace {

constexpr std::u16string_view Keys = u"абвгдежзийклмнопрстуфхцчшщъьюя";
constexpr std::u16string_view Headings = u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯ";
constexpr std::array<std::size_t, LetterCount> DescriptionLengths = {
    259, 195, 130, 188, 315, 204, 233, 279, 185, 195, 268, 220, 130, 117, 194,
    189, 191, 100, 160, 124, 236, 184, 128, 211, 116, 113, 77,  105, 133, 78};
constexpr std::array<std::u16string_view, LetterCount> Openings = {
    u"Няма да ви се налага да принуждавате хора,", u"Тази съгласна внася в характера на човека",
    u"Съгласната В ни кара отначало старателно",   u"Постарайте се да си спомните свой познат,",
    u"Ако са ви раздали парцели земя, пръв ще я",  u"Тази бъква придава на характера",
    u"Животът на тези хора протича като на сцена", u"З-з-з\u2026 С какво се асоциира този звук?",
    u"Не обещавайте на човек с гласна И в името",  u"Нищо хубаво не обещава на човека",
    u"На човека с буква К в името е присъща",      u"При притежателя на съгласна Л в името",
    u"Наличието на съгласна М в името дава на",    u"Съгласната Н дарява личността със строго",
    u"Гласната О зрително представлява затворен",  u"Да си набележат непристъпен връх, да го",
    u"Ако човек с буквата Р в името е заел от",    u"Блясък, искрометност - това е",
    u"Днес не съм такъв като вчера - е девизът",   u"Гласната У внася в характера хитрост или,",
    u"Няма истински стопани по нашите земи не",    u"Няма да срещнете по-отзивчив човек от",
    u"Съгласната Ц внася в живота на човека",      u"Имената съдържащи този звук, най-често се",
    u"Съгласната Ш прави човека хладнокръвен. В",  u"Тази буква поражда стремеж към",
    u"Дори в най-уравновесеният характер тази",    u"Да изсъхне ръката, която не гребе за себе",
    u"Дарява целеустременост, но едновременно",    u"На човека с гласна Я в името най-голяма",
};

std::u16string_view Description(const LetterEntry& entry) {
    return std::u16string_view(entry.text).substr(5);
}

std::size_t CountDoubleSpaces(std::u16string_view text) {
    std::size_t count = 0;
    for (std::size_t at = text.find(u"  "); at != std::u16string_view::npos;
         at = text.find(u"  ", at + 1))
        ++count;
    return count;
}

class LetterTableTest : public ::testing::Test {
protected:
    const LetterTable table = BuildLetterTable();
};

} // namespace

TEST(ComposeEntryTest, PutsHeadingOnItsOwnLineBeforeDescription) {
    EXPECT_EQ(ComposeEntry(u'Ж', u"текст"), u"\r\nЖ\r\nтекст");
    EXPECT_EQ(ComposeEntry(u'А', u""), u"\r\nА\r\n");
}

TEST_F(LetterTableTest, RowsAreTheAlphabetInOrderWithComposedEntries) {
    for (std::size_t index = 1; index <= LetterCount; ++index) {
        SCOPED_TRACE(index);
        const LetterEntry& entry = table.row(index);
        EXPECT_EQ(entry.key, Keys[index - 1]);
        EXPECT_EQ(entry.heading, Headings[index - 1]);
        ASSERT_EQ(entry.text.size(), DescriptionLengths[index - 1] + 5);
        EXPECT_EQ(entry.text.substr(0, 2), u"\r\n");
        EXPECT_EQ(entry.text[2], entry.heading);
        EXPECT_EQ(entry.text.substr(3, 2), u"\r\n");
    }
    EXPECT_EQ(table.row(1).text.size(), 264U);
}

TEST_F(LetterTableTest, DescriptionsOpenAsWrittenAndTotal5257Units) {
    std::size_t total = 0;
    for (std::size_t index = 1; index <= LetterCount; ++index) {
        SCOPED_TRACE(index);
        const std::u16string_view description = Description(table.row(index));
        EXPECT_TRUE(description.starts_with(Openings[index - 1]));
        total += description.size();
    }
    EXPECT_EQ(total, 5257U);
}

TEST_F(LetterTableTest, DescriptionsKeepTheirPunctuationAndSpacingQuirks) {
    for (std::size_t index = 1; index <= LetterCount; ++index) {
        const LetterEntry& entry = table.row(index);
        SCOPED_TRACE(static_cast<int>(entry.heading));
        const std::u16string_view description = Description(entry);

        const char16_t expectedEnd = entry.heading == u'Г'   ? u'?'
                                     : entry.heading == u'М' ? u'б'
                                                             : u'.';
        EXPECT_EQ(description.back(), expectedEnd);

        const bool hasDoubleSpace = entry.heading == u'Ф' || entry.heading == u'Ш';
        EXPECT_EQ(CountDoubleSpaces(description), hasDoubleSpace ? 1U : 0U);
        EXPECT_EQ(description.find(u"   "), std::u16string_view::npos);

        EXPECT_NE(description.front(), u' ');
        EXPECT_NE(description.back(), u' ');
        EXPECT_TRUE(std::none_of(description.begin(), description.end(),
                                 [](char16_t unit) { return unit < u' '; }));
        EXPECT_EQ(description.find(u'\u2026') != std::u16string_view::npos, entry.heading == u'З');
    }
}

TEST_F(LetterTableTest, FindMatchesOnlyTheExactLowerCaseKey) {
    for (std::size_t index = 1; index <= LetterCount; ++index)
        EXPECT_EQ(table.find(Keys[index - 1]), &table.row(index));

    // ы and э are the two gaps among the keys; ё, ѝ and upper case lie outside them.
    const std::u16string notKeys = u"ыэёѝѐЫЭЁАЯaAzZ 0-'" + std::u16string(1, char16_t{0xD800});
    for (const char16_t unit : notKeys)
        EXPECT_EQ(table.find(unit), nullptr) << static_cast<int>(unit);
}

TEST_F(LetterTableTest, CopiesStayUsableAfterTheOriginalIsGone) {
    const LetterTable copy = [] { return BuildLetterTable(); }();
    EXPECT_EQ(copy.find(u'я'), &copy.row(30));
    EXPECT_EQ(copy.find(u'я')->text, table.row(30).text);
}
