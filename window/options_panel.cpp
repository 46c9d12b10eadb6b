#include "window/options_panel.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <utility>

#include "ui/design_font.h"
#include "ui/design_palette.h"
#include "window/directory_box.h"
#include "window/directory_list.h"
#include "storage/working_directory.h"

namespace veldorin {
namespace {

// Places and sizes in twips, inside the panel.
struct Box {
    int left, top, width, height;
};
constexpr Box kClosedBox{120, 0, 5895, 375};
constexpr int kOpenHeight = 3255;
constexpr Box kLabelBox{240, 480, 1035, 240};
constexpr Box kText3Box{1440, 480, 3255, 300};
constexpr Box kDir1Box{1440, 720, 3495, 1215};
// The separator runs past the panel's right edge, which cuts it.
constexpr int kSeparatorTop = 2160;
constexpr int kSeparatorLength = 6120;

void Place(QWidget* widget, const Box& box, const TwipsToPixels& twipsToPixels) {
    widget->setGeometry(twipsToPixels(box.left), twipsToPixels(box.top), twipsToPixels(box.width),
                        twipsToPixels(box.height));
}

}  // namespace

OptionsPanel::OptionsPanel(TwipsToPixels twipsToPixels, SettingsFile settings, QWidget* parent)
    : QGroupBox(QStringLiteral("Options"), parent),
      twipsToPixels_(std::move(twipsToPixels)),
      settings_(std::move(settings)),
      label3_25_(new QLabel(QStringLiteral("Directory: "), this)),
      text3_(new DirectoryBox(this)),
      dir1_(new DirectoryList(this)),
      line1_16_(new QFrame(this)) {
    // The heading font is the frame's own; its controls use the ordinary text font.
    setFont(DesignFont(kHeadingPoints, true));
    const QFont text = DesignFont(kNormalPoints);
    for (QWidget* child : {static_cast<QWidget*>(label3_25_), static_cast<QWidget*>(text3_),
                           static_cast<QWidget*>(dir1_)}) {
        child->setFont(text);
    }
    setAutoFillBackground(true);  // it opens over other controls
    setMouseTracking(true);
    Place(this, kClosedBox, twipsToPixels_);

    label3_25_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Place(label3_25_, kLabelBox, twipsToPixels_);
    text3_->setText(QStringLiteral("c:\\Program Files\\Lumen_Forge\\"));
    Place(text3_, kText3Box, twipsToPixels_);
    Place(dir1_, kDir1Box, twipsToPixels_);
    dir1_->hide();

    // A drawn line, not a control: the pointer over it is over the panel.
    line1_16_->setAutoFillBackground(true);
    QPalette black = DesignPalette();
    black.setColor(QPalette::Window, Qt::black);
    line1_16_->setPalette(black);
    line1_16_->setAttribute(Qt::WA_TransparentForMouseEvents);
    line1_16_->setGeometry(0, twipsToPixels_(kSeparatorTop), twipsToPixels_(kSeparatorLength), 1);

    hide();

    connect(text3_, &DirectoryBox::pressed, this, &OptionsPanel::text3_MouseDown);
    connect(dir1_, &DirectoryList::pathOpened, this, [this] { Dir1_Change(); });
}

void OptionsPanel::Open() {
    resize(width(), twipsToPixels_(kOpenHeight));
    show();
    raise();
}

void OptionsPanel::UseSettingsFile(SettingsFile settings) { settings_ = std::move(settings); }

void OptionsPanel::ShowWorkingDirectory(const QString& workingDirectory) {
    text3_->setText(workingDirectory);
    dir1_->SetPath(workingDirectory);
}

QString OptionsPanel::WorkingDirectory() const { return text3_->text(); }

void OptionsPanel::text3_MouseDown() {
    dir1_->show();
    dir1_->raise();
}

bool OptionsPanel::Dir1_Change() {
    const QString workingDirectory = WorkingDirectoryText(dir1_->Path());
    text3_->setText(workingDirectory);
    const bool stored = settings_.Write(workingDirectory);
    Q_EMIT workingDirectoryChanged(workingDirectory);
    return stored;
}

void OptionsPanel::HideDirectoryList() { dir1_->hide(); }

QLineEdit* OptionsPanel::Text3() const { return text3_; }

void OptionsPanel::mouseMoveEvent(QMouseEvent* event) {
    // Moves over a control that does not track the pointer arrive here too; none of them
    // may pass on to the window, whose background closes the panel.
    if (childAt(event->position().toPoint()) == nullptr) {
        HideDirectoryList();
        Q_EMIT backgroundPointerMoved();
    }
    event->accept();
}

}  // namespace veldorin
