// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Turns the heart pixel art into the icon theme's PNG files and the Windows .ico, each
// art pixel a square block of pixels:
//   icon_png OUT.png ART.xpm SIZE
//   icon_png OUT.ico ART.xpm SIZE [ART.xpm SIZE]...
#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QList>
#include <cstdio>

namespace {

QByteArray Drawn(const char* artFile, const char* sizeText) {
    const QImage art(QString::fromLocal8Bit(artFile), "XPM");
    const int size = QString::fromLocal8Bit(sizeText).toInt();
    QByteArray png;
    QBuffer buffer(&png);
    if (art.isNull() || size <= 0 || size > 256 || size % art.width() != 0 ||
        !art.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
             .save(&buffer, "PNG")) {
        std::fprintf(stderr, "icon_png: cannot draw %s at %s pixels\n", artFile, sizeText);
        return {};
    }
    return png;
}

// An .ico is a directory of images; Windows reads PNG images in it at every size.
QByteArray Ico(const QList<std::pair<int, QByteArray>>& images) {
    QByteArray ico;
    QDataStream out(&ico, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    auto offset = quint32(6 + 16 * images.size());
    for (const auto& [size, png] : images) {
        const auto side = quint8(size == 256 ? 0 : size); // 0 stands for 256
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(png.size()) << offset;
        offset += quint32(png.size());
    }
    for (const auto& image : images)
        out.writeRawData(image.second.constData(), static_cast<int>(image.second.size()));
    return ico;
}

} // namespace

int main(int argc, char* argv[]) {
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool ico = out.endsWith(QLatin1String(".ico"));
    if (argc < 4 || argc % 2 != 0 || (!ico && argc != 4)) {
        std::fputs("usage: icon_png OUT.png ART.xpm SIZE\n"
                   "       icon_png OUT.ico ART.xpm SIZE [ART.xpm SIZE]...\n",
                   stderr);
        return 2;
    }
    QList<std::pair<int, QByteArray>> images;
    for (int at = 2; at < argc; at += 2) {
        const QByteArray png = Drawn(argv[at], argv[at + 1]);
        if (png.isEmpty())
            return 1;
        images.append({QString::fromLocal8Bit(argv[at + 1]).toInt(), png});
    }
    QFile file(out);
    const QByteArray bytes = ico ? Ico(images) : images.first().second;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "icon_png: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
