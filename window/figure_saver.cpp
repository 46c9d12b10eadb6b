#include "window/figure_saver.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QSpinBox>
#include <array>

#include "window/graph_canvas.h"

namespace veldorin {

namespace {

QDoubleSpinBox* LengthBox(double millimetres, const char* name, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(10.0, 1000.0);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(millimetres);
    return box;
}

struct Format {
    const char* filter;
    const char* suffix;
};

constexpr std::array<Format, 3> kFormats{{
    {"PNG picture (*.png)", "png"},
    {"SVG drawing (*.svg)", "svg"},
    {"PDF document (*.pdf)", "pdf"},
}};

}  // namespace

FigureSizeDialog::FigureSizeDialog(const FigureSize& size, QWidget* parent)
    : QDialog(parent),
      width_(LengthBox(size.width, "figureWidth", this)),
      height_(LengthBox(size.height, "figureHeight", this)),
      dotsPerInch_(new QSpinBox(this)) {
    setObjectName("figureSize");
    setWindowTitle(tr("Figure size"));
    dotsPerInch_->setObjectName("figureDotsPerInch");
    dotsPerInch_->setRange(72, 2400);
    dotsPerInch_->setSuffix(QStringLiteral(" dpi"));
    dotsPerInch_->setValue(size.dotsPerInch);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Width"), width_);
    form->addRow(tr("Height"), height_);
    form->addRow(tr("Resolution"), dotsPerInch_);
    form->addRow(buttons);
}

FigureSize FigureSizeDialog::size() const {
    return {width_->value(), height_->value(), dotsPerInch_->value()};
}

FigureSaver::FigureSaver(GraphCanvas& canvas) : QObject(&canvas), canvas_(canvas) {}

void FigureSaver::Start() {
    auto* dialog = new FigureSizeDialog(size_, &canvas_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        size_ = dialog->size();
        ChooseFile();
    });
    dialog->open();
}

void FigureSaver::ChooseFile() {
    auto* dialog = new QFileDialog(&canvas_, tr("Save figure as"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const Format& format : kFormats) filters << tr(format.filter);
    dialog->setNameFilters(filters);
    dialog->setDefaultSuffix(kFormats.front().suffix);
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog, filters](const QString& filter) {
        dialog->setDefaultSuffix(
            kFormats[static_cast<std::size_t>(filters.indexOf(filter))].suffix);
    });
    connect(dialog, &QFileDialog::fileSelected, this, &FigureSaver::Save);
    dialog->open();
}

void FigureSaver::Save(const QString& path) {
    const PanelPicture picture = canvas_.picture();
    if (!SaveFigure({canvas_.curves(), picture.recording.commands()}, size_, path)) {
        QMessageBox::warning(&canvas_, tr("Save figure as"), tr("Could not write %1.").arg(path));
    }
}

}  // namespace veldorin
