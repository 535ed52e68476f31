// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velinora {

// One code unit in and one out, the same in every locale. Only А..Я lower-case onto a
// letter of the table; no other character's lower case is one, so no other is mapped.
constexpr char16_t LowerCaseUnit(char16_t unit) {
    return unit >= u'\u0410' && unit <= u'\u042F' ? static_cast<char16_t>(unit + 0x20) : unit;
}

} // namespace velinora
