#include "letter_table.h"
#include "name_analysis.h"

#include <gtest/gtest.h>
#include <string>

using namespace velinora;

namespace {

class NameAnalysisTest : public ::testing::Test {
protected:
    const LetterTable table = BuildLetterTable();

    [[nodiscard]] std::u16string Analyze(std::u16string_view name) const {
        return AnalyzeName(name, table);
    }
    // The heading line and the description of row `index`, as shown in the result.
    [[nodiscard]] std::u16string Shown(std::size_t index) const {
        return table.row(index).text.substr(2);
    }
};

} // namespace

TEST_F(NameAnalysisTest, IvaGivesThreeEntriesSeparatedByEmptyLines) {
    const std::u16string result = Analyze(u"Ива");
    EXPECT_EQ(result.size(), 591U);
    EXPECT_EQ(result, Shown(9) + u"\r\n\r\n" + Shown(3) + u"\r\n\r\n" + Shown(1));
    EXPECT_TRUE(result.starts_with(u"И\r\nНе обещавайте"));
    // "И", CR LF and the 185 units of its description come first.
    EXPECT_EQ(result.find(u"\r\n\r\nВ\r\nСъгласната В"), 188U);
}

TEST_F(NameAnalysisTest, EmptyAndSingleLetterNames) {
    EXPECT_EQ(Analyze(u""), u"");
    for (std::size_t index = 1; index <= LetterCount; ++index) {
        const LetterEntry& entry = table.row(index);
        EXPECT_EQ(Analyze(std::u16string(1, entry.key)), Shown(index));
        EXPECT_EQ(Analyze(std::u16string(1, entry.heading)), Shown(index));
    }
}

TEST_F(NameAnalysisTest, CaseDoesNotMatter) {
    EXPECT_EQ(Analyze(u"ИВА"), Analyze(u"ива"));
    EXPECT_EQ(Analyze(u"Ива"), Analyze(u"иВа"));
    EXPECT_EQ(Analyze(u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯ"),
              Analyze(u"абвгдежзийклмнопрстуфхцчшщъьюя"));
}

TEST_F(NameAnalysisTest, EntriesFollowTheNameIncludingRepeats) {
    EXPECT_EQ(Analyze(u"Яна"), Shown(30) + u"\r\n\r\n" + Shown(14) + u"\r\n\r\n" + Shown(1));
    EXPECT_EQ(Analyze(u"Анна"), Shown(1) + u"\r\n\r\n" + Shown(14) + u"\r\n\r\n" + Shown(14) +
                                    u"\r\n\r\n" + Shown(1));
    EXPECT_NE(Analyze(u"ав"), Analyze(u"ва"));
}

TEST_F(NameAnalysisTest, CharactersThatAreNoLetterAddNothing) {
    EXPECT_EQ(Analyze(u"  Иван Петров"), Analyze(u"ИванПетров"));
    EXPECT_EQ(Analyze(u"Анна-Мария"), Analyze(u"аннамария"));
    EXPECT_EQ(Analyze(u"д'Артанян 2-ри\t\r\n"), Analyze(u"дартанянри"));
    EXPECT_EQ(Analyze(u"ёж"), Analyze(u"ж"));
    EXPECT_EQ(Analyze(u"Ѝва"), Analyze(u"ва"));

    for (const std::u16string_view none : {u"Ivan", u"ыэЫЭ", u" ", u"  ", u"-'0123456789", u"\r\n"})
        EXPECT_EQ(Analyze(none), u"");

    const std::u16string loneSurrogates{char16_t{0xD800}, u'а', char16_t{0xDFFF}};
    EXPECT_EQ(Analyze(loneSurrogates), Shown(1));
}

TEST_F(NameAnalysisTest, ResultNeverStartsOrEndsWithABreakNorHoldsTwoEmptyLines) {
    for (const std::u16string_view name : {u" а", u"а ", u" а б ", u"--а--б--", u"Мария Ива"}) {
        const std::u16string result = Analyze(name);
        ASSERT_FALSE(result.empty());
        EXPECT_FALSE(result.starts_with(u"\r") || result.starts_with(u"\n"));
        EXPECT_FALSE(result.ends_with(u"\r") || result.ends_with(u"\n"));
        EXPECT_EQ(result.find(u"\r\n\r\n\r\n"), result.npos);
    }
}
