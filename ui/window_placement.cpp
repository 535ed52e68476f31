// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_placement.h"

#include <algorithm>

QPoint CentredTopLeft(QSize size, QRect available) {
    QRect window(QPoint(), size);
    window.moveCenter(available.center());
    return {std::max(window.left(), available.left()), std::max(window.top(), available.top())};
}
