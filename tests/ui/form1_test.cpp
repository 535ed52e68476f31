// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"
#include "letter_table.h"
#include "name_analysis.h"

#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

namespace {

const QColor WindowColour(50, 178, 255);

// One row per control: where it sits, a point inside it and the colour there, the
// colour its text is drawn in, and its bold font's size in pixels. The labels' sizes
// are what their captions take in bold DejaVu Sans, the face the window falls back to.
struct Control {
    const char* name;
    QRect rect;
    QPoint inside;
    QColor face;
    QColor text;
    int pixelSize;
};
const Control Controls[] = {
    {"Text1", {192, 24, 329, 33}, {310, 16}, {17, 238, 238}, Qt::black, 18},
    {"Command1", {280, 64, 129, 25}, {6, 12}, {47, 208, 208}, Qt::black, 11},
    {"Text2", {8, 96, 689, 409}, {300, 300}, {157, 255, 255}, {64, 64, 64}, 13},
    {"Label1", {256, 0, 189, 19}, {0, 0}, WindowColour, Qt::white, 16},
    {"Label2", {184, 512, 399, 13}, {0, 0}, WindowColour, Qt::white, 11},
};

// QTest::keyClicks cannot type Cyrillic in Qt 6.4: each character goes as a key
// event that carries its text.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
    }
}

bool drawsColour(const QImage& image, const QRect& area, const QColor& colour) {
    const QRect device(area.topLeft() * image.devicePixelRatio(),
                       area.size() * image.devicePixelRatio());
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x = device.left(); x <= device.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void controlsLookAsDrawn();
    void enterAndClickAnalyseAndRefocusTheNameBox();
    void tabAndEnterElsewhereDoNotAnalyse();

private:
    template <typename T = QWidget> T* control(const char* name) const {
        return form->findChild<T*>(QLatin1String(name));
    }
    QString shown() const { return control<QPlainTextEdit>("Text2")->toPlainText(); }

    std::unique_ptr<Form1> form;
};

void Form1Test::init() {
    form = std::make_unique<Form1>();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void Form1Test::controlsLookAsDrawn() {
    typeText(control("Text1"), QStringLiteral("Ива"));
    QTest::keyClick(control("Text1"), Qt::Key_Return);
    const QImage image = form->grab().toImage();
    QVERIFY(drawsColour(image, QRect(40, 70, 1, 1), WindowColour));
    for (const Control& c : Controls) {
        QWidget* widget = control(c.name);
        QVERIFY2(widget, c.name);
        QCOMPARE(widget->geometry(), c.rect);
        QVERIFY2(drawsColour(image, QRect(c.rect.topLeft() + c.inside, QSize(1, 1)), c.face),
                 c.name);
        QVERIFY2(drawsColour(image, c.rect, c.text), c.name);
        const QFontInfo font(widget->font());
        QCOMPARE(font.pixelSize(), c.pixelSize);
        QVERIFY2(font.bold() && !font.italic(), c.name);
    }
    // A long paragraph wraps at the box's width instead of scrolling sideways.
    const auto* result = control<QPlainTextEdit>("Text2");
    QCOMPARE(result->horizontalScrollBar()->maximum(), 0);
    QVERIFY(result->verticalScrollBar()->isVisible());
}

void Form1Test::enterAndClickAnalyseAndRefocusTheNameBox() {
    static const velinora::LetterTable table = velinora::BuildLetterTable();
    const QString expected = QString::fromStdU16String(velinora::AnalyzeName(u"Ива", table))
                                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto* name = control<QLineEdit>("Text1");
    typeText(name, QStringLiteral("Ива"));
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(shown(), expected);
    QCOMPARE(QApplication::focusWidget(), name);
    QCOMPARE(name->text(), QStringLiteral("Ива"));

    // A click replaces whatever was typed into the result box, and typing goes on in the name box.
    control("Text2")->setFocus();
    typeText(control("Text2"), QStringLiteral("бележка"));
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    QCOMPARE(shown(), expected);
    typeText(QApplication::focusWidget(), QStringLiteral("на"));
    QCOMPARE(name->text(), QStringLiteral("Ивана"));

    name->clear();
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    QCOMPARE(shown(), QString());
    QCOMPARE(QApplication::focusWidget(), name);
}

void Form1Test::tabAndEnterElsewhereDoNotAnalyse() {
    typeText(control("Text1"), QStringLiteral("Ян"));
    for (const char* name : {"Text1", "Command1", "Text2", "Text1"}) {
        QCOMPARE(QApplication::focusWidget(), control(name));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // Enter and Escape on the button press nothing; Enter in the result box types a line.
    control("Command1")->setFocus();
    QTest::keyClick(control("Command1"), Qt::Key_Return);
    QTest::keyClick(control("Command1"), Qt::Key_Escape);
    control("Text2")->setFocus();
    QTest::keyClick(control("Text2"), Qt::Key_Return);
    QCOMPARE(shown(), QStringLiteral("\n"));
    QVERIFY(form->isVisible());
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
