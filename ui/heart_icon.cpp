// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "heart_icon.h"

#include <QPixmap>

// XPM is C: the pixel art is compiled in as it stands.
// NOLINTBEGIN(modernize-avoid-c-arrays)
#include "icons/heart16.xpm"
#include "icons/heart32.xpm"
// NOLINTEND(modernize-avoid-c-arrays)

QIcon HeartIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(heart16_xpm));
    icon.addPixmap(QPixmap(heart32_xpm));
    return icon;
}
