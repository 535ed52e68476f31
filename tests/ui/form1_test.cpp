#include "form1.h"
#include "letter_table.h"
#include "name_analysis.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QtMath>
#include <algorithm>
#include <memory>

namespace {

// QTest::keyClicks cannot type Cyrillic in Qt 6.4, so each character goes as a
// key event that carries its text.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

void pressEnter(QWidget* widget) {
    QTest::keyClick(widget, Qt::Key_Return);
}

// The analysis as the result box shows it: each CR LF as one line break.
QString expectedResult(const QString& name) {
    static const velinora::LetterTable table = velinora::BuildLetterTable();
    QString result = QString::fromStdU16String(velinora::AnalyzeName(name.toStdU16String(), table));
    return result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The colour at a point given in the window's own (logical) pixels.
QColor colourAt(const QImage& image, int x, int y) {
    const qreal scale = image.devicePixelRatio();
    return image.pixelColor(qRound(x * scale), qRound(y * scale));
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowIsFixedCentredAndPlain();
    void controlsSitAtTheirPixelRectangles();
    void labelsFitTheirCaptions();
    void layoutScalesExactlyAndClipsNoText();
    void coloursAreExact();
    void fontsAreBoldAtTheirPixelSizes();
    void tabOrderRunsNameButtonResult();
    void enterAndClickGiveTheSameResultAndRefocusTheNameBox();
    void emptyNameEmptiesTheResultBox();
    void analysisReplacesTypedTextAndRepeatsExactly();
    void resultBoxShowsEachBreakOnceAndTypesNewLines();
    void buttonIsNeitherDefaultNorPressedByEnterOrEscape();
    void pasteBeyondTheNameBoxLimitIsCutAndAnalysed();
    void screenReadersHearEveryControlInBulgarian();
    void iconStaysSharpAtDoubleScale();

private:
    template <typename T> T* control(const char* name) const {
        T* widget = form->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    [[nodiscard]] QLineEdit* text1() const { return control<QLineEdit>("Text1"); }
    [[nodiscard]] QPushButton* command1() const { return control<QPushButton>("Command1"); }
    [[nodiscard]] QPlainTextEdit* text2() const { return control<QPlainTextEdit>("Text2"); }
    [[nodiscard]] QLabel* label(const char* name) const { return control<QLabel>(name); }

    std::unique_ptr<Form1> form;
};

void Form1Test::init() {
    form = std::make_unique<Form1>();
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void Form1Test::cleanup() {
    form.reset();
}

void Form1Test::windowIsFixedCentredAndPlain() {
    QCOMPARE(form->windowTitle(), QStringLiteral("ВЕЛИНОРА"));
    QCOMPARE(form->size(), QSize(700, 534));
    QCOMPARE(form->minimumSize(), QSize(700, 534));
    QCOMPARE(form->maximumSize(), QSize(700, 534));

    const Qt::WindowFlags flags = form->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

    // On each axis: centred where the window fits the screen, else flush with its start;
    // up to the few pixels of a frame, which is not known before the window is shown.
    const QRect available = form->screen()->availableGeometry();
    const QRect window = form->geometry();
    const auto placed = [](int start, int length, int areaStart, int areaLength) {
        const int expected =
            length <= areaLength ? areaStart + (areaLength - length) / 2 : areaStart;
        return std::abs(start - expected) <= 4;
    };
    QVERIFY(placed(window.x(), window.width(), available.x(), available.width()));
    QVERIFY(placed(window.y(), window.height(), available.y(), available.height()));

    const QIcon icon = form->windowIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
}

void Form1Test::controlsSitAtTheirPixelRectangles() {
    QCOMPARE(text1()->geometry(), QRect(192, 24, 329, 33));
    QCOMPARE(command1()->geometry(), QRect(280, 64, 129, 25));
    QCOMPARE(text2()->geometry(), QRect(8, 96, 689, 409));
    QCOMPARE(label("Label1")->pos(), QPoint(256, 0));
    QCOMPARE(label("Label2")->pos(), QPoint(184, 512));
    QCOMPARE(command1()->text(), QStringLiteral("АНАЛИЗИРАЙ"));
    QCOMPARE(text1()->text(), QString());
    QCOMPARE(text2()->toPlainText(), QString());
}

void Form1Test::labelsFitTheirCaptions() {
    const QRect window = form->rect();
    const QList<std::pair<const char*, QString>> labels = {
        {"Label1", QStringLiteral("Въведете името си :")},
        {"Label2", QStringLiteral("Повторението на букви в името засилва тяхното въздействие.")},
    };
    for (const auto& [name, caption] : labels) {
        QLabel* l = label(name);
        QCOMPARE(l->text(), caption);
        QCOMPARE(l->size(), l->sizeHint());
        QVERIFY2(window.contains(l->geometry()), name);
        QCOMPARE(l->focusPolicy(), Qt::NoFocus);
        QVERIFY(!l->autoFillBackground());
    }
    // The prompt and the note must not run into the boxes below and above them.
    QVERIFY(label("Label1")->geometry().bottom() < text1()->geometry().top());
    QVERIFY(label("Label2")->geometry().top() > text2()->geometry().bottom());
}

void Form1Test::layoutScalesExactlyAndClipsNoText() {
    const QImage image = form->grab().toImage();
    const QMap<qreal, QSize> deviceSizes = {
        {1.0, {700, 534}}, {1.25, {875, 668}}, {1.5, {1050, 801}}, {2.0, {1400, 1068}}};
    const qreal scale = form->devicePixelRatio();
    QVERIFY2(deviceSizes.contains(scale), qPrintable(QString::number(scale)));
    QCOMPARE(image.size(), deviceSizes.value(scale));

    // No white text pixel touches the right or bottom edge of a label's rectangle.
    for (const char* name : {"Label1", "Label2"}) {
        const QRect r = label(name)->geometry();
        const QRect device(
            QPoint(qFloor(r.left() * scale), qFloor(r.top() * scale)),
            QPoint(qCeil((r.right() + 1) * scale) - 1, qCeil((r.bottom() + 1) * scale) - 1));
        for (int y = device.top(); y <= device.bottom(); ++y)
            QVERIFY2(image.pixelColor(device.right(), y) != Qt::white, name);
        for (int x = device.left(); x <= device.right(); ++x)
            QVERIFY2(image.pixelColor(x, std::min(device.bottom(), image.height() - 1)) !=
                         Qt::white,
                     name);
    }
}

void Form1Test::coloursAreExact() {
    const QImage image = form->grab().toImage();
    const QColor window(50, 178, 255);
    QCOMPARE(colourAt(image, 3, 3), window);
    QCOMPARE(colourAt(image, 100, 70), window);
    QCOMPARE(colourAt(image, 695, 530), window);
    QCOMPARE(colourAt(image, 192 + 310, 24 + 16), QColor(17, 238, 238));
    QCOMPARE(colourAt(image, 280 + 6, 64 + 12), QColor(47, 208, 208));
    QCOMPARE(colourAt(image, 8 + 300, 96 + 300), QColor(157, 255, 255));

    // The labels draw white text straight on the window colour.
    for (const char* name : {"Label1", "Label2"}) {
        const QRect r = label(name)->geometry();
        bool white = false;
        for (int x = r.left(); x <= r.right() && !white; ++x)
            for (int y = r.top(); y <= r.bottom() && !white; ++y)
                white = colourAt(image, x, y) == Qt::white;
        QVERIFY2(white, name);
        QCOMPARE(colourAt(image, r.left(), r.top()), window);
    }

    QCOMPARE(text1()->palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(text2()->palette().color(QPalette::Text), QColor(64, 64, 64));
}

void Form1Test::fontsAreBoldAtTheirPixelSizes() {
    const QList<std::pair<QWidget*, int>> sizes = {{text1(), 18},
                                                   {command1(), 11},
                                                   {text2(), 13},
                                                   {label("Label1"), 16},
                                                   {label("Label2"), 11}};
    for (const auto& [widget, pixels] : sizes) {
        const QFont font = widget->font();
        QCOMPARE(font.pixelSize(), pixels);
        QVERIFY(font.bold());
        QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
        QCOMPARE(font.families().value(0), QStringLiteral("MS Sans Serif"));
        // Whatever face is chosen must have Cyrillic letters.
        QVERIFY(QFontMetrics(font).inFont(QChar(u'Ж')));
    }
}

void Form1Test::tabOrderRunsNameButtonResult() {
    QCOMPARE(QApplication::focusWidget(), text1());
    QTest::keyClick(text1(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), command1());
    QTest::keyClick(command1(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), text2());
    QTest::keyClick(text2(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), text1());
    QCOMPARE(text2()->toPlainText(), QString()); // Tab moved on instead of typing a tab
}

void Form1Test::enterAndClickGiveTheSameResultAndRefocusTheNameBox() {
    typeText(text1(), QStringLiteral("Ива"));
    pressEnter(text1());
    const QString byEnter = text2()->toPlainText();
    QCOMPARE(byEnter, expectedResult(QStringLiteral("Ива")));
    QVERIFY(byEnter.startsWith(QStringLiteral("И\nНе обещавайте")));
    QCOMPARE(QApplication::focusWidget(), text1());
    QCOMPARE(text1()->text(), QStringLiteral("Ива")); // Enter reached the box and changed nothing

    text2()->clear();
    QTest::mouseClick(command1(), Qt::LeftButton);
    QCOMPARE(text2()->toPlainText(), byEnter);
    QCOMPARE(QApplication::focusWidget(), text1());

    // Typing goes on in the name box after the click.
    typeText(QApplication::focusWidget(), QStringLiteral("на"));
    QCOMPARE(text1()->text(), QStringLiteral("Ивана"));
}

void Form1Test::emptyNameEmptiesTheResultBox() {
    typeText(text1(), QStringLiteral("Ян"));
    pressEnter(text1());
    QVERIFY(!text2()->toPlainText().isEmpty());

    text1()->clear();
    QTest::mouseClick(command1(), Qt::LeftButton);
    QCOMPARE(text2()->toPlainText(), QString());
    QCOMPARE(QApplication::focusWidget(), text1());
}

void Form1Test::analysisReplacesTypedTextAndRepeatsExactly() {
    typeText(text1(), QStringLiteral("Мария"));
    pressEnter(text1());
    const QString first = text2()->toPlainText();

    text2()->setFocus();
    typeText(text2(), QStringLiteral("бележка"));
    QVERIFY(text2()->toPlainText().contains(QStringLiteral("бележка")));

    QTest::mouseClick(command1(), Qt::LeftButton);
    QCOMPARE(text2()->toPlainText(), first);
}

void Form1Test::resultBoxShowsEachBreakOnceAndTypesNewLines() {
    typeText(text1(), QStringLiteral("Ива"));
    pressEnter(text1());
    // Three entries of two lines each, with an empty line between two entries.
    QCOMPARE(text2()->blockCount(), 8);
    QVERIFY(!text2()->toPlainText().contains(QLatin1Char('\r')));
    QCOMPARE(text2()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(text2()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(text2()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QVERIFY(!text2()->isReadOnly());

    text2()->setFocus();
    text2()->moveCursor(QTextCursor::End);
    pressEnter(text2());
    QCOMPARE(text2()->blockCount(), 9);
    QCOMPARE(QApplication::focusWidget(), text2());
}

void Form1Test::buttonIsNeitherDefaultNorPressedByEnterOrEscape() {
    QVERIFY(!command1()->isDefault());
    QVERIFY(!command1()->autoDefault());

    typeText(text1(), QStringLiteral("Ива"));
    command1()->setFocus();
    pressEnter(command1());
    QTest::keyClick(command1(), Qt::Key_Escape);
    QCOMPARE(text2()->toPlainText(), QString());
    QVERIFY(form->isVisible());
}

void Form1Test::pasteBeyondTheNameBoxLimitIsCutAndAnalysed() {
    QCOMPARE(text1()->maxLength(), 32767);
    QApplication::clipboard()->setText(QStringLiteral("Ян").repeated(20000));
    text1()->paste();
    QCOMPARE(text1()->text().size(), 32767);

    pressEnter(text1());
    // Every letter gives a heading and a paragraph line, with an empty line between entries.
    QCOMPARE(text2()->blockCount(), 3 * 32767 - 1);
    QVERIFY(text2()->toPlainText().endsWith(expectedResult(QStringLiteral("Я"))));

    // The window still answers: the next analysis replaces all of it.
    text1()->clear();
    typeText(text1(), QStringLiteral("Ива"));
    pressEnter(text1());
    QCOMPARE(text2()->toPlainText(), expectedResult(QStringLiteral("Ива")));
}

void Form1Test::screenReadersHearEveryControlInBulgarian() {
    struct Expected {
        QWidget* widget;
        QAccessible::Role role;
        QString name;
        bool described;
    };
    const QList<Expected> controls = {
        {text1(), QAccessible::EditableText, QStringLiteral("Име"), true},
        {command1(), QAccessible::Button, QStringLiteral("Анализирай"), true},
        {text2(), QAccessible::EditableText, QStringLiteral("Анализ на името"), true},
        {label("Label1"), QAccessible::StaticText, QStringLiteral("Въведете името си :"), false},
        {label("Label2"), QAccessible::StaticText,
         QStringLiteral("Повторението на букви в името засилва тяхното въздействие."), false},
    };
    for (const Expected& control : controls) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control.widget);
        QVERIFY(iface);
        QCOMPARE(iface->role(), control.role);
        QCOMPARE(iface->text(QAccessible::Name), control.name);
        QCOMPARE(!iface->text(QAccessible::Description).isEmpty(), control.described);
    }
    QVERIFY(QAccessible::queryAccessibleInterface(text2())
                ->text(QAccessible::Description)
                .contains(QStringLiteral("анализът на името")));

    // The prompt labels the name box, and the window carries the note.
    QCOMPARE(label("Label1")->buddy(), text1());
    // Qt lists the labels of an object under the Label relation.
    const auto labels =
        QAccessible::queryAccessibleInterface(text1())->relations(QAccessible::Label);
    QVERIFY(std::any_of(labels.begin(), labels.end(), [this](const auto& relation) {
        return relation.first->object() == label("Label1");
    }));
    QCOMPARE(QAccessible::queryAccessibleInterface(form.get())->text(QAccessible::Description),
             label("Label2")->text());
}

void Form1Test::iconStaysSharpAtDoubleScale() {
    const QIcon icon = form->windowIcon();
    const QImage sharp = icon.pixmap(QSize(32, 32), 1.0).toImage();
    QImage atDouble = icon.pixmap(QSize(16, 16), 2.0).toImage();
    QCOMPARE(atDouble.size(), QSize(32, 32));
    atDouble.setDevicePixelRatio(1.0); // compare the pixels, not the scale they are meant for
    QCOMPARE(atDouble.convertToFormat(sharp.format()), sharp);
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
