// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter_table.h"

#include <array>
#include <string_view>

namespace velinora {

struct LetterDescription {
    char16_t heading;
    std::u16string_view text;
};

// The program's content: one paragraph per letter, in alphabet order.
extern const std::array<LetterDescription, LetterCount> LetterDescriptions;

} // namespace velinora
