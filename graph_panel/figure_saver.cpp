// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/figure_saver.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>

#include "graph_panel/graph_canvas.h"
#include "ui/save_dialog.h"

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

QCheckBox* OptionBox(const QString& text, bool checked, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

}  // namespace

FigureSizeDialog::FigureSizeDialog(const FigureSize& size,
                                   const std::optional<FigureOptions>& options, QWidget* parent)
    : QDialog(parent),
      width_(LengthBox(size.width, "figureWidth", this)),
      height_(LengthBox(size.height, "figureHeight", this)),
      dotsPerInch_(new QSpinBox(this)),
      pngSize_(new QLabel(this)) {
    setObjectName("figureSize");
    setWindowTitle(tr("Figure"));
    dotsPerInch_->setObjectName("figureDotsPerInch");
    dotsPerInch_->setRange(72, 2400);
    dotsPerInch_->setSuffix(QStringLiteral(" dpi"));
    dotsPerInch_->setValue(size.dotsPerInch);
    pngSize_->setObjectName("figurePngSize");
    pngSize_->setWordWrap(true);
    ShowPngSize();
    for (QDoubleSpinBox* length : {width_, height_}) {
        connect(length, &QDoubleSpinBox::valueChanged, this, &FigureSizeDialog::ShowPngSize);
    }
    connect(dotsPerInch_, &QSpinBox::valueChanged, this, &FigureSizeDialog::ShowPngSize);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Width"), width_);
    form->addRow(tr("Height"), height_);
    form->addRow(tr("Resolution"), dotsPerInch_);
    form->addRow(pngSize_);
    if (options) {
        noeAsRatio_ = OptionBox(tr("NOE as the intensity ratio 1 + η"), options->noeAsRatio,
                                "figureNoeAsRatio", this);
        allFields_ = OptionBox(tr("All six fields in the legend"), options->allFields,
                               "figureAllFields", this);
        form->addRow(noeAsRatio_);
        form->addRow(allFields_);
    }
    form->addRow(buttons);
}

FigureSize FigureSizeDialog::size() const {
    return {width_->value(), height_->value(), dotsPerInch_->value()};
}

void FigureSizeDialog::ShowPngSize() { pngSize_->setText(PngSizeNote(size())); }

std::optional<FigureOptions> FigureSizeDialog::options() const {
    if (!noeAsRatio_) return std::nullopt;
    return FigureOptions{noeAsRatio_->isChecked(), allFields_->isChecked()};
}

FigureSaver::FigureSaver(GraphCanvas& canvas)
    : FigureSaver(
          canvas,
          [&canvas](const FigureOptions& options) {
              // The canvas's own curves and recording, which outlive the save.
              return FigureSource(canvas.curves(), canvas.picture().recording.commands(), options);
          },
          FigureOptions{}) {}

FigureSaver::FigureSaver(QWidget& owner, FigureSource source)
    : FigureSaver(
          owner, [source = std::move(source)](const FigureOptions&) { return source; },
          std::nullopt) {}

FigureSaver::FigureSaver(QWidget& owner, OptionedSource source,
                         std::optional<FigureOptions> options)
    : QObject(&owner), owner_(owner), source_(std::move(source)), options_(options) {}

void FigureSaver::Start() {
    auto* dialog = new FigureSizeDialog(size_, options_, &owner_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        size_ = dialog->size();
        options_ = dialog->options();
        ChooseFile();
    });
    dialog->open();
}

void FigureSaver::ChooseFile() {
    QFileDialog* dialog = NewSaveDialog(&owner_, tr("Save figure as"), QString(),
                                        {{tr("PNG picture"), QStringLiteral("png")},
                                         {tr("SVG drawing"), QStringLiteral("svg")},
                                         {tr("PDF document"), QStringLiteral("pdf")}});
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, &FigureSaver::Save);
    dialog->open();
}

void FigureSaver::Save(const QString& path) {
    if (const auto failure = SaveFigure(source_(options_.value_or(FigureOptions{})), size_, path)) {
        QMessageBox::warning(&owner_, tr("Save figure as"), *failure);
    }
}

}  // namespace veldorin
