// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "name_analysis.h"

#include "lower_case.h"

namespace velinora {

namespace {

// Every entry text opens with CR LF; together with the separator in front of the
// first entry these are the four units that must not lead the result.
constexpr std::size_t LeadingBreaks = EntrySeparator.size() + 2;

template <typename Visit>
void ForEachEntry(std::u16string_view name, const LetterTable& table, Visit visit) {
    for (const char16_t unit : name) {
        if (const LetterEntry* entry = table.find(LowerCaseUnit(unit)))
            visit(entry->text);
    }
}

} // namespace

std::u16string AnalyzeName(std::u16string_view name, const LetterTable& table) {
    std::size_t size = 0;
    ForEachEntry(name, table, [&size](std::u16string_view text) {
        size += EntrySeparator.size() + text.size();
    });
    if (size < LeadingBreaks)
        return {};

    // The size is known before copying: one allocation.
    std::u16string result;
    result.reserve(size - LeadingBreaks);
    ForEachEntry(name, table, [&result](std::u16string_view text) {
        if (result.empty())
            result.append(text.substr(LeadingBreaks - EntrySeparator.size()));
        else
            result.append(EntrySeparator).append(text);
    });
    return result;
}

std::size_t CountAnalysedLetters(std::u16string_view name, const LetterTable& table) {
    std::size_t count = 0;
    ForEachEntry(name, table, [&count](std::u16string_view /*text*/) { ++count; });
    return count;
}

} // namespace velinora
