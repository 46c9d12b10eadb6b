#pragma once

#include <QString>

#include "ui/twips.h"

class QListWidget;
class QWidget;

namespace veldorin {

// The help list List1 at the bottom of the window and the two information panels of the
// menu, the Theory page Picture2 and the About list List2. The menu opens each over the
// top of the window; the help list opens to nearly the window's height, and when it goes
// back to its place it shows again the line that stood at its top before it was opened.
class HelpPanels {
public:
    HelpPanels(const TwipScale& scale, QListWidget* list1, QWidget* picture2, QListWidget* list2);

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
    QListWidget* list1_;
    QWidget* picture2_;
    QListWidget* list2_;
    int keptTopLine_ = 0;  // the help list's top line when it was opened
};

}  // namespace veldorin
