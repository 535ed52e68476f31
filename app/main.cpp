#include "form1.h"
#include "heart_icon.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velinora"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setWindowIcon(HeartIcon());

    Form1 form;
    form.show();
    return QApplication::exec();
}
