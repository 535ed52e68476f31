// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velinora {

// A fixed simple mapping, one code unit in and one out, so that the analysis
// gives the same result whatever the machine's locale.
constexpr char16_t LowerCaseUnit(char16_t unit) {
    if (unit >= u'\u0410' && unit <= u'\u042F') // А..Я
        return static_cast<char16_t>(unit + 0x20);
    if (unit >= u'\u0400' && unit <= u'\u040F') // Ѐ..Џ
        return static_cast<char16_t>(unit + 0x50);
    if (unit >= u'A' && unit <= u'Z')
        return static_cast<char16_t>(unit + 0x20);
    return unit;
}

} // namespace velinora
