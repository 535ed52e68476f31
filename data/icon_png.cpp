// Turns the heart pixel art into the PNG files that the icon theme installs:
//   icon_png ART.xpm OUT.png
#include <QImage>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: icon_png ART.xpm OUT.png\n", stderr);
        return 2;
    }
    const QImage art(QString::fromLocal8Bit(argv[1]), "XPM");
    if (art.isNull() || !art.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "icon_png: cannot turn %s into %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
