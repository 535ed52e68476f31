// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "accessibility_notice.h"
#include "analysis_announcement.h"
#include "heart_icon.h"
#include "name_analysis.h"
#include "window_layout.h"
#include "window_placement.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>

namespace {

const QColor WindowColour(50, 178, 255);
const QColor NameBoxColour(17, 238, 238);
const QColor ButtonColour(47, 208, 208);
const QColor ResultBoxColour(157, 255, 255);
const QColor ResultTextColour(64, 64, 64);

// The faces the program carries come first, so that the window looks the same wherever
// it brings them (the Windows build brings DejaVu Sans Bold); then the face it was
// designed with, then DejaVu Sans, as without an explicit fallback fontconfig's pick
// depends on what is installed.
const QStringList& WindowFaces() {
    static const QStringList faces = [] {
        QStringList carried;
        const QDir folder(QStringLiteral(":/fonts"));
        for (const QString& file : folder.entryList(QDir::Files))
            carried += QFontDatabase::applicationFontFamilies(
                QFontDatabase::addApplicationFont(folder.filePath(file)));
        return carried +
               QStringList{QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")};
    }();
    return faces;
}

// Sizes in pixels, so that the layout holds whatever font DPI the desktop sets.
QFont BoldFont(int pixelSize) {
    QFont font;
    font.setFamilies(WindowFaces());
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QRect Geometry(const layout::Box& box) {
    return {box.left, box.top, box.width, box.height};
}

QPalette WithColour(QPalette palette, QPalette::ColorRole role, const QColor& colour) {
    palette.setColor(QPalette::All, role, colour);
    return palette;
}

// Qt 6.4 reads the first format of whatever it is to paste, so a paste from an empty
// clipboard crashes it. With nothing to paste there is nothing to do.
class ResultBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override {
        if (source && !source->formats().isEmpty())
            QPlainTextEdit::insertFromMimeData(source);
    }
};

} // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      table_(velinora::BuildLetterTable()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ВЕЛИНОРА"));
    setWindowIcon(HeartIcon());
    setFixedSize(layout::form.width, layout::form.height);

    createControls();
    applyLook();
    notice_ = new ScreenReaderNotice(this);

    connect(Command1, &QPushButton::clicked, this, &Form1::analyze);
    // QLineEdit still handles the key itself; the analysis only listens.
    connect(Text1, &QLineEdit::returnPressed, this, &Form1::analyze);

    centreOnScreen();
}

void Form1::createControls() {
    // Created in tab order: name box, button, result box.
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(Geometry(layout::name));
    Text1->setFont(BoldFont(layout::name.font));

    Command1 = new QPushButton(QStringLiteral("АНАЛИЗИРАЙ"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Geometry(layout::analyse));
    Command1->setFont(BoldFont(layout::analyse.font));
    Command1->setAutoDefault(false);
    Command1->setDefault(false);

    Text2 = new ResultBox(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(Geometry(layout::result));
    Text2->setFont(BoldFont(layout::result.font));
    Text2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text2->setTabChangesFocus(true);

    Label1 = new QLabel(QStringLiteral("Въведете името си :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(BoldFont(layout::prompt.font));
    Label1->move(layout::prompt.left, layout::prompt.top);
    Label1->setBuddy(Text1);

    Label2 = new QLabel(
        QStringLiteral("Повторението на букви в името засилва тяхното въздействие."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(BoldFont(layout::note.font));
    Label2->move(layout::note.left, layout::note.top);

    // What screen readers say for each control. The name box is called by its prompt's
    // words, which a speech-input user says; only a box that a name does not explain has
    // a description, since it is said again at every focus.
    Text1->setAccessibleName(QStringLiteral("Въведете името си"));
    Text1->setAccessibleDescription(QStringLiteral("Enter започва анализа."));
    Command1->setAccessibleName(QStringLiteral("Анализирай"));
    Text2->setAccessibleName(QStringLiteral("Анализ на името"));
    // The note is part of what the window says when it is announced.
    setAccessibleDescription(Label2->text());

    for (QLabel* label : {Label1, Label2})
        label->adjustSize();

    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Text2);
    Text1->setFocus();
}

// The plain "Windows" style draws every face and box in exactly the palette's colour,
// so the window looks the same on light and dark desktops alike.
void Form1::applyLook() {
    QStyle* style = QStyleFactory::create(QStringLiteral("Windows"));
    style->setParent(this);

    QPalette palette = style->standardPalette();
    palette = WithColour(palette, QPalette::Window, WindowColour);
    palette = WithColour(palette, QPalette::WindowText, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    QPalette nameBox = WithColour(palette, QPalette::Base, NameBoxColour);
    Text1->setPalette(WithColour(nameBox, QPalette::Text, Qt::black));

    QPalette button = WithColour(palette, QPalette::Button, ButtonColour);
    Command1->setPalette(WithColour(button, QPalette::ButtonText, Qt::black));

    QPalette resultBox = WithColour(palette, QPalette::Base, ResultBoxColour);
    Text2->setPalette(WithColour(resultBox, QPalette::Text, ResultTextColour));

    setStyle(style);
    for (QWidget* child : findChildren<QWidget*>())
        child->setStyle(style);
}

void Form1::centreOnScreen() {
    move(CentredTopLeft(size(), screen()->availableGeometry()));
}

void Form1::analyze() {
    const std::u16string name = Text1->text().toStdU16String();
    const std::u16string result = velinora::AnalyzeName(name, table_);
    Text2->setPlainText(QString::fromStdU16String(result));
    Text1->setFocus();
    // The focus stays in the name box, where a screen reader hears nothing of the result.
    notice_->announce(QString::fromStdU16String(velinora::AnalysisAnnouncement(name, table_)));
}
