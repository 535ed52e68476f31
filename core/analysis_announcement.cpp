// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis_announcement.h"

#include "name_analysis.h"

namespace velinora {

std::u16string AnalysisAnnouncement(std::u16string_view name, const LetterTable& table) {
    if (name.empty())
        return u"Не е въведено име, затова няма анализ.";
    const std::size_t letters = CountAnalysedLetters(name, table);
    if (letters == 0)
        return u"В името няма български букви, затова няма анализ.";
    // The count stands alone after a colon, where a voice reads it in its neutral form:
    // "1 буква" would come out as "едно буква".
    const std::string count = std::to_string(letters);
    return u"Анализът е готов. Анализирани букви: " + std::u16string(count.begin(), count.end()) +
           u". Натиснете Tab два пъти, за да го прочетете.";
}

} // namespace velinora
