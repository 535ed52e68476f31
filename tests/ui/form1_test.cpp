// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <array>
#include <memory>

namespace {

// The window as designed, which the page's test holds the page against too: in twips,
// 15 to a pixel at 96 dpi, and in points, 3 to 4 pixels.
int DesignedPixels(const char* control, const char* edge) {
    static const QJsonObject design = [] {
        QFile file(QStringLiteral(":/window_design.json"));
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                              : QJsonObject();
    }();
    const double value =
        design.value(QLatin1String(control)).toObject().value(QLatin1String(edge)).toDouble();
    return qRound(QByteArray(edge) == "font" ? value * 4 / 3 : value / 15);
}

// One row per control: its name in the design, the colour its text is drawn in, and for a
// label what its caption takes in bold DejaVu Sans, the face the window falls back to on
// Linux and carries on Windows.
struct Control {
    const char* name = nullptr;
    const char* designed = nullptr;
    QColor text;
    QSize caption;
    [[nodiscard]] QRect rect() const {
        const QPoint at(DesignedPixels(designed, "left"), DesignedPixels(designed, "top"));
        const QSize size(DesignedPixels(designed, "width"), DesignedPixels(designed, "height"));
        return {at, size.isEmpty() ? caption : size};
    }
};
const std::array<Control, 5> Controls = {{
    {"Text1", "name", Qt::black, {}},
    {"Command1", "analyse", Qt::black, {}},
    {"Text2", "result", {64, 64, 64}, {}},
    {"Label1", "prompt", Qt::white, {189, 19}},
    {"Label2", "note", Qt::white, {399, 13}},
}};

// QTest::keyClicks cannot type Cyrillic in Qt 6.4: each character goes as a key
// event that carries its text.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
    }
}

bool drawsColour(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
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
    [[nodiscard]] QString shown() const { return control<QPlainTextEdit>("Text2")->toPlainText(); }

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
    for (const Control& c : Controls) {
        QWidget* widget = control(c.name);
        // A label takes its text's size, which DirectWrite measures a pixel apart from FreeType.
        const bool fitsText = QByteArray(c.name).startsWith("Label");
        const QSize off = widget->size() - c.rect().size();
        QCOMPARE(widget->pos(), c.rect().topLeft());
        QVERIFY2(fitsText ? qAbs(off.width()) <= 1 && qAbs(off.height()) <= 1 : off.isNull(),
                 c.name);
        QVERIFY2(drawsColour(image, c.rect(), c.text), c.name);
        const QFontInfo font(widget->font());
        QCOMPARE(font.pixelSize(), DesignedPixels(c.designed, "font"));
        QVERIFY2(font.bold() && !font.italic(), c.name);
    }
    // A long paragraph wraps at the box's width instead of scrolling sideways.
    const auto* result = control<QPlainTextEdit>("Text2");
    QCOMPARE(result->horizontalScrollBar()->maximum(), 0);
    QVERIFY(result->verticalScrollBar()->isVisible());
}

void Form1Test::enterAndClickAnalyseAndRefocusTheNameBox() {
    auto* name = control<QLineEdit>("Text1");
    typeText(name, QStringLiteral("Ива"));
    QTest::keyClick(name, Qt::Key_Return);
    const QString expected = shown();
    // Three entries, a heading and a paragraph each, an empty line between two: every CR LF
    // of the analysis shows as one break.
    QCOMPARE(expected.split(QLatin1Char('\n')).size(), 8);
    QVERIFY(expected.startsWith(QStringLiteral("И\nНе обещавайте")));
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
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
