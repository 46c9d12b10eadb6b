// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QListWidget;

namespace veldorin {

// Puts the help text into the list, one item per line, scrolling one line per step.
void FillHelpList(QListWidget* list);

// Gives the list, at its present width, the largest font no larger than its own in which
// every help line fits whole beside the vertical scroll bar. No line is ever shortened.
void FitHelpFont(QListWidget* list);

// Makes line `row` the first visible line of the help list. Near the end the list cannot
// scroll that far and shows its last page instead.
void ShowHelpLine(QListWidget* list, int row);

// Scrolls the help list to the section titled `title`: its title and the empty line under it
// go out of view and its first text line stands at the top. A title that no line matches
// leaves the list where it is.
void ShowHelpSection(QListWidget* list, const QString& title);

}  // namespace veldorin
