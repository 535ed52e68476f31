// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Turns the heart pixel art into the PNG files that the icon theme installs, each
// art pixel a square block of pixels:
//   icon_png ART.xpm SIZE OUT.png
#include <QImage>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: icon_png ART.xpm SIZE OUT.png\n", stderr);
        return 2;
    }
    const QImage art(QString::fromLocal8Bit(argv[1]), "XPM");
    const int size = QString::fromLocal8Bit(argv[2]).toInt();
    if (art.isNull() || size % art.width() != 0 ||
        !art.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
             .save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "icon_png: cannot draw %s at %s pixels into %s\n", argv[1], argv[2],
                     argv[3]);
        return 1;
    }
    return 0;
}
