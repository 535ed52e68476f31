// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter_table.h"

#include <string>
#include <string_view>

namespace velinora {

inline constexpr std::u16string_view EntrySeparator = u"\r\n";

// The entries of the name's letters in order, an empty line between two entries,
// no line break before the first or after the last. Characters that are no
// letter of the table (spaces, hyphens, digits, Latin letters...) add nothing.
std::u16string AnalyzeName(std::u16string_view name, const LetterTable& table);

// How many entries AnalyzeName gives for the name: its characters that are letters.
std::size_t CountAnalysedLetters(std::u16string_view name, const LetterTable& table);

} // namespace velinora
