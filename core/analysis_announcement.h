// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter_table.h"

#include <string>
#include <string_view>

namespace velinora {

// What a screen reader says after the analysis of `name`, while the focus stays in the
// name box: every front end says the same.
std::u16string AnalysisAnnouncement(std::u16string_view name, const LetterTable& table);

} // namespace velinora
