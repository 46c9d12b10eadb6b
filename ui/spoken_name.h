// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

class QLabel;
class QString;
class QWidget;

namespace veldorin {

// The name a screen reader gives a control. A drop-down list hands it on to the parts
// that hold the keyboard in its place, its line edit and its pop-up list, and is
// announced by it, with its text as its value.
void SetSpokenName(QWidget& control, const QString& name);

// A result that a label shows: a screen reader that names the label reads the text too,
// and hears of every change.
void ShowSpokenText(QLabel& label, const QString& text);

// Widgets under one parent that a screen reader takes as one element with one name, such
// as the letters of a word placed one by one (once InstallSpokenInterfaces has run).
void SpeakAsOne(const std::vector<QWidget*>& parts, const QString& name);

}  // namespace veldorin
