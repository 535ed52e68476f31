#include "window_placement.h"

#include <QTest>

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
};

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): Qt Test runs slots
void WindowPlacementTest::placement_data() {
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("topLeft");

    QTest::newRow("centred on 1280x1024")
        << QSize(700, 534) << QRect(0, 0, 1280, 1024) << QPoint(290, 245);
    QTest::newRow("below a top panel")
        << QSize(700, 534) << QRect(0, 32, 1280, 992) << QPoint(290, 261);
    QTest::newRow("second screen")
        << QSize(700, 534) << QRect(1920, 0, 1280, 1024) << QPoint(2210, 245);
    // 1400x1068 device pixels at 2x on a 1280x1024 screen: 640x512 logical.
    QTest::newRow("larger than the screen")
        << QSize(700, 534) << QRect(0, 0, 640, 512) << QPoint(0, 0);
    QTest::newRow("wider only") << QSize(700, 534) << QRect(100, 0, 600, 1024) << QPoint(100, 245);
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): Qt Test runs slots
void WindowPlacementTest::placement() {
    QFETCH(QSize, window);
    QFETCH(QRect, available);
    QFETCH(QPoint, topLeft);
    QCOMPARE(CentredTopLeft(window, available), topLeft);
}

QTEST_APPLESS_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
