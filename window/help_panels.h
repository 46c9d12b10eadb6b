// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "ui/twips.h"

class QListWidget;
class QWidget;

namespace veldorin {

// The help list at the bottom of the window and the two information panels of the
// menu, the Theory page and the About list. The menu opens each over the
// top of the window; the help list opens to nearly the window's height, and when it goes
// back to its place it shows again the line that stood at its top before it was opened.
class HelpPanels {
public:
    HelpPanels(const TwipScale& scale, QListWidget* helpList, QWidget* theoryPage,
               QListWidget* aboutList);

    void OpenTheory();
    void OpenHelp();
    void OpenAbout();
    // The help list back at the bottom, five lines high; the two panels are hidden by the
    // panel reset itself.
    void RestoreHelpList();

    // The section's first text line to the top of the help list.
    void ShowSection(const QString& title);
    // The line to the top of the help list.
    void ShowLine(int row);

private:
    int TopLine() const;
    bool HelpListOpen() const;

    TwipScale scale_;
    QListWidget* helpList_;
    QWidget* theoryPage_;
    QListWidget* aboutList_;
    int keptTopLine_ = 0;  // the help list's top line when it was opened
};

}  // namespace veldorin
