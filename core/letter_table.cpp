// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter_table.h"

#include "letter_descriptions.h"
#include "lower_case.h"

#include <cassert>
#include <utility>

namespace velinora {

LetterTable::LetterTable(std::array<LetterEntry, LetterCount> rows) : rows_(std::move(rows)) {
    for (std::size_t i = 0; i < LetterCount; ++i) {
        const auto slot = static_cast<std::size_t>(rows_[i].key - FirstKey);
        assert(slot < KeySlots && indexByKey_[slot] == 0);
        indexByKey_[slot] = static_cast<std::uint8_t>(i + 1);
    }
}

const LetterEntry& LetterTable::row(std::size_t index) const {
    assert(index >= 1 && index <= LetterCount);
    return rows_[index - 1];
}

const LetterEntry* LetterTable::find(char16_t unit) const {
    if (unit < FirstKey || unit >= FirstKey + KeySlots)
        return nullptr;
    const std::uint8_t index = indexByKey_[static_cast<std::size_t>(unit - FirstKey)];
    return index == 0 ? nullptr : &rows_[index - 1];
}

std::u16string ComposeEntry(char16_t heading, std::u16string_view description) {
    std::u16string entry;
    entry.reserve(description.size() + 5);
    entry += u"\r\n";
    entry += heading;
    entry += u"\r\n";
    entry += description;
    return entry;
}

LetterTable BuildLetterTable() {
    std::array<LetterEntry, LetterCount> rows;
    for (std::size_t i = 0; i < LetterCount; ++i) {
        const LetterDescription& letter = LetterDescriptions[i];
        rows[i] = {LowerCaseUnit(letter.heading), letter.heading,
                   ComposeEntry(letter.heading, letter.text)};
    }
    return LetterTable(std::move(rows));
}

} // namespace velinora
