// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Checks AnalyzeName against the plainest reading of what it must return: the
// shown entries of the name's key letters, in order, joined by an empty line.
#include "letter_table.h"
#include "name_analysis.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const velinora::LetterTable& Table() {
    static const velinora::LetterTable table = velinora::BuildLetterTable();
    return table;
}

// Compares with all 30 rows in turn, upper and lower case alike.
const velinora::LetterEntry* MatchRow(char16_t unit) {
    const velinora::LetterEntry* match = nullptr;
    for (std::size_t index = 1; index <= velinora::LetterCount; ++index) {
        const velinora::LetterEntry& entry = Table().row(index);
        if (unit == entry.key || unit == entry.heading)
            match = &entry;
    }
    return match;
}

std::u16string Expected(std::u16string_view name) {
    std::u16string expected;
    for (const char16_t unit : name) {
        if (const velinora::LetterEntry* entry = MatchRow(unit)) {
            if (!expected.empty())
                expected += u"\r\n\r\n";
            expected += std::u16string_view(entry->text).substr(2);
        }
    }
    return expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string name(size / 2, u'\0');
    for (std::size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));

    const std::u16string result = velinora::AnalyzeName(name, Table());
    if (result != Expected(name))
        std::abort();
    if (!result.empty() && (result.front() == u'\r' || result.back() == u'\n'))
        std::abort();
    return 0;
}
