// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of `size` goes to sit in the middle of `available`. A window larger
// than that area keeps its top-left corner on it, so its title bar stays reachable.
QPoint CentredTopLeft(QSize size, QRect available);
