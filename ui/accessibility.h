// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Gives screen readers the program's own accessible objects: the window and the
// application here, the text boxes (accessibility_text_boxes.h) and the notice
// (accessibility_notice.h). Call once, right after the QApplication exists.
void InstallAccessibility();
