// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The core as this machine runs it, for the tests of every front end to take what it must
// show and say from (tests/oracles.py). Reads names, each a 32-bit count of UTF-16 units
// and the units, and writes for each its analysis and its announcement the same way (both
// in this machine's byte order).
#include "analysis_announcement.h"
#include "name_analysis.h"

#include <cstdint>
#include <cstdio>
#include <string>

int main() {
    const velinora::LetterTable table = velinora::BuildLetterTable();
    std::uint32_t units = 0;
    while (std::fread(&units, sizeof units, 1, stdin) == 1) {
        std::u16string name(units, u'\0');
        if (std::fread(name.data(), sizeof(char16_t), units, stdin) != units)
            return 1;
        for (const std::u16string& text :
             {velinora::AnalyzeName(name, table), velinora::AnalysisAnnouncement(name, table)}) {
            const auto size = static_cast<std::uint32_t>(text.size());
            std::fwrite(&size, sizeof size, 1, stdout);
            std::fwrite(text.data(), sizeof(char16_t), text.size(), stdout);
        }
    }
    return 0;
}
