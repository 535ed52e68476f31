// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGuiApplication>

// Whether screen readers reach the program through Windows' UI Automation, which lists
// every element it is given as one to stop on, rather than through AT-SPI.
[[nodiscard]] inline bool ThroughUiAutomation() {
    return QGuiApplication::platformName() == QLatin1String("windows");
}
