#include "form1.h"
#include "heart_icon.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The name gives the window its class, which the desktop entry's StartupWMClass names.
    QApplication::setApplicationName(QStringLiteral("velinora"));
    QApplication::setApplicationVersion(QStringLiteral(VELINORA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(VELINORA_APP_ID));
    QApplication::setWindowIcon(HeartIcon());

    Form1 form;
    form.show();
    return QApplication::exec();
}
