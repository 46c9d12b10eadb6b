#pragma once

#include <QGroupBox>
#include <QString>
#include <functional>

#include "storage/settings_file.h"

class QFrame;
class QLabel;
class QLineEdit;

namespace veldorin {

class DirectoryBox;
class DirectoryList;

// The window's conversion of a twips length to pixels.
using TwipsToPixels = std::function<int(int)>;

// The Options panel (Frame1(0)): the directory box Text3 holding the working directory,
// and the directory list Dir1 in which the user opens another folder. Opening a folder
// makes it the working directory and stores it in the settings file at once. Text typed
// into the box is the working directory too, but is not stored. Hidden until Open().
class OptionsPanel : public QGroupBox {
    Q_OBJECT

public:
    OptionsPanel(TwipsToPixels twipsToPixels, SettingsFile settings, QWidget* parent = nullptr);

    // Options_Click, after the window's ResetPanels: shows the panel at its full height.
    void Open();

    // Start-up: where a change of the directory is stored from now on.
    void UseSettingsFile(SettingsFile settings);

    // Start-up: the settled working directory into the box and the list; stores nothing.
    void ShowWorkingDirectory(const QString& workingDirectory);

    // The box's text, as the next recalculation reads it.
    QString WorkingDirectory() const;

    // A press of any mouse button in the box shows the directory list.
    void text3_MouseDown();

    // The list's path changed: the box becomes that path and '/', and the settings file is
    // rewritten with it. The box changes even when the file cannot be written; the result
    // says whether it was. Neither recalculates nor changes the current directory.
    bool Dir1_Change();

    // The pointer crossed a frame while the panel is open.
    void HideDirectoryList();

    QLineEdit* Text3() const;
    DirectoryList* Dir1() const { return dir1_; }
    QLabel* Label3_25() const { return label3_25_; }

Q_SIGNALS:
    // The user opened a folder in the list; the argument is the new working directory.
    void workingDirectoryChanged(const QString& workingDirectory);
    // The pointer moved over the panel's own background (not over one of its controls);
    // the directory list has been hidden. Moves over the panel never reach the window.
    void backgroundPointerMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TwipsToPixels twipsToPixels_;
    SettingsFile settings_;
    QLabel* label3_25_;
    DirectoryBox* text3_;
    DirectoryList* dir1_;
    QFrame* line1_16_;
};

}  // namespace veldorin
