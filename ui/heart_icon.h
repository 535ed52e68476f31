// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// The red heart shown as the window's and the program's icon, at 16 and 32 pixels.
QIcon HeartIcon();
