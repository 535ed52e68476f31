#include "heart_icon.h"

#include <QPixmap>

namespace {
#include "icons/heart16.xpm"
#include "icons/heart32.xpm"
} // namespace

QIcon HeartIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(heart16_xpm));
    icon.addPixmap(QPixmap(heart32_xpm));
    return icon;
}
