// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Answers --help, --help-all and --version, or a wrong option, in Bulgarian, and ends the
// program; returns only when the window is to open. Needs no display.
void AnswerCommandLine(int argc, char** argv);
