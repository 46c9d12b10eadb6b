// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "options/options_panel.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <utility>

#include "options/directory_box.h"
#include "options/directory_list.h"
#include "storage/working_directory.h"
#include "ui/design_font.h"
#include "ui/design_palette.h"

namespace veldorin {
namespace {

// Places and sizes in twips, inside the panel.
constexpr TwipRect kClosedPlace{120, 0, 5895, 375};
constexpr int kOpenHeight = 3255;
constexpr TwipRect kCaptionPlace{240, 480, 1035, 240};
constexpr TwipRect kDirectoryBoxPlace{1440, 480, 3255, 300};
constexpr TwipRect kDirectoryListPlace{1440, 720, 3495, 1215};
// The separator runs past the panel's right edge, which cuts it.
constexpr int kSeparatorTop = 2160;
constexpr int kSeparatorLength = 6120;

}  // namespace

OptionsPanel::OptionsPanel(const TwipScale& scale, SettingsFile settings, QWidget* parent)
    : QGroupBox(QStringLiteral("Options"), parent),
      scale_(scale),
      settings_(std::move(settings)),
      directoryCaption_(new QLabel(QStringLiteral("Directory: "), this)),
      directoryBox_(new DirectoryBox(this)),
      directoryList_(new DirectoryList(this)),
      separator_(new QFrame(this)) {
    // The heading font is the frame's own; its controls use the ordinary text font.
    setFont(DesignFont(kHeadingPoints, true));
    const QFont text = DesignFont(kNormalPoints);
    for (QWidget* child :
         {static_cast<QWidget*>(directoryCaption_), static_cast<QWidget*>(directoryBox_),
          static_cast<QWidget*>(directoryList_)}) {
        child->setFont(text);
    }
    setAutoFillBackground(true);  // it opens over other controls
    setMouseTracking(true);
    setGeometry(scale_.Rect(kClosedPlace));

    directoryCaption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    directoryCaption_->setGeometry(scale_.Rect(kCaptionPlace));
    directoryBox_->setText(QStringLiteral("c:\\Program Files\\Lumen_Forge\\"));
    directoryBox_->setGeometry(scale_.Rect(kDirectoryBoxPlace));
    directoryList_->setGeometry(scale_.Rect(kDirectoryListPlace));
    directoryList_->hide();
    directoryBox_->setAccessibleName(QStringLiteral("Working directory"));
    directoryBox_->setAccessibleDescription(QStringLiteral("Where table.dat is written"));
    directoryList_->setAccessibleName(QStringLiteral("Folders"));
    directoryList_->setAccessibleDescription(
        QStringLiteral("The folder opened here becomes the working directory and is kept"));

    // A drawn line, not a control: the pointer over it is over the panel.
    separator_->setAutoFillBackground(true);
    QPalette black = DesignPalette();
    black.setColor(QPalette::Window, Qt::black);
    separator_->setPalette(black);
    separator_->setAttribute(Qt::WA_TransparentForMouseEvents);
    separator_->setGeometry(0, scale_.ToPixels(kSeparatorTop), scale_.ToPixels(kSeparatorLength),
                            1);

    hide();

    connect(directoryBox_, &DirectoryBox::pressed, this, &OptionsPanel::ShowDirectoryList);
    connect(directoryList_, &DirectoryList::pathOpened, this, [this] {
        if (const auto failure = StoreListedDirectory()) Q_EMIT workingDirectoryNotStored(*failure);
    });
}

void OptionsPanel::Open() {
    resize(width(), scale_.ToPixels(kOpenHeight));
    show();
    raise();
}

void OptionsPanel::UseSettingsFile(SettingsFile settings) { settings_ = std::move(settings); }

void OptionsPanel::ShowWorkingDirectory(const QString& workingDirectory) {
    directoryBox_->setText(workingDirectory);
    directoryList_->SetPath(workingDirectory);
}

QString OptionsPanel::WorkingDirectory() const { return directoryBox_->text(); }

void OptionsPanel::ShowDirectoryList() {
    directoryList_->show();
    directoryList_->raise();
}

std::optional<QString> OptionsPanel::StoreListedDirectory() {
    const QString workingDirectory = WorkingDirectoryText(directoryList_->Path());
    directoryBox_->setText(workingDirectory);
    const std::optional<QString> failure = settings_.Store(workingDirectory);
    Q_EMIT workingDirectoryChanged(workingDirectory);
    return failure;
}

void OptionsPanel::HideDirectoryList() { directoryList_->hide(); }

QLineEdit* OptionsPanel::directoryBox() const { return directoryBox_; }

void OptionsPanel::mouseMoveEvent(QMouseEvent* event) {
    // Moves over a control that does not track the pointer arrive here too; none of them
    // may go on to the window, whose background closes the panel.
    if (childAt(event->position().toPoint()) == nullptr) {
        HideDirectoryList();
        Q_EMIT backgroundPointerMoved();
    }
    event->accept();
}

}  // namespace veldorin
