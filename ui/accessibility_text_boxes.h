// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAccessibleInterface;
class QObject;

// What screen readers read and change in the name box and the result box; nullptr for
// any other object.
QAccessibleInterface* CreateTextBoxAccessible(QObject* object);
