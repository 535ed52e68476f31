// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velinora {

// One letter of the alphabet and the text the analysis appends for it.
struct LetterEntry {
    char16_t key = 0;     // lower-case letter matched against the lower-cased name
    char16_t heading = 0; // upper-case letter shown above the description
    std::u16string text;  // CR LF, heading, CR LF, description
};

inline constexpr std::size_t LetterCount = 30;

// The 30 letters in alphabet order, numbered 1..30. Read-only once built.
class LetterTable {
public:
    explicit LetterTable(std::array<LetterEntry, LetterCount> rows);

    // index is 1..30; anything else is a programming error.
    [[nodiscard]] const LetterEntry& row(std::size_t index) const;

    // The row whose key is exactly `unit`, or nullptr: no case folding here.
    [[nodiscard]] const LetterEntry* find(char16_t unit) const;

private:
    // Every key lies in U+0430..U+044F, so a 32-slot map from code unit to row is enough.
    static constexpr char16_t FirstKey = u'\u0430';
    static constexpr std::size_t KeySlots = 32;

    std::array<LetterEntry, LetterCount> rows_;
    std::array<std::uint8_t, KeySlots> indexByKey_{}; // 0: no row
};

std::u16string ComposeEntry(char16_t heading, std::u16string_view description);

LetterTable BuildLetterTable();

} // namespace velinora
