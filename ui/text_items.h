// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QList>
#include <QString>
#include <functional>

// What a screen reader asks of a text box's text, answered from the text alone: the
// character, word, sentence, line or paragraph at, before or after an offset.

// An item of the text, [start, end); both -1 for an offset outside the text, and both the
// nearest end of the paragraphs looked at when there is no item there.
struct TextItem {
    int start = -1;
    int end = -1;
};

// Where the visual lines in [first, last) of the text start, `first` included: a box
// that wraps knows; a single line is one.
using LineStarts = std::function<QList<int>(int first, int last)>;

// The item `step` items away (-1 before, 0 at, 1 after) from the one holding `offset`,
// which is within 0..text.size(). A gap between words is an item of its own; at the end
// of the text a caret is still on the last word, line or sentence, but on no character.
TextItem ItemNear(const QString& text, int offset, QAccessible::TextBoundaryType boundary, int step,
                  const LineStarts& lineStarts);

// Qt's bridge pads an inserted text out to whatever length the client names, with zeros
// where that memory is new; no name or paragraph holds one, so the text ends there.
QString WithoutPadding(const QString& text);
