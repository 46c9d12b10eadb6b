// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/fit_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/spoken_name.h"
#include "ui/utf8_text.h"

namespace veldorin {
namespace {

// A fitted parameter as the result names it: with its standard error, or, where the fit
// has none to give, why not; never an error of 0.
struct FittedParameter {
    QString label;
    QString unit;
    double value = 0.0;
    double error = 0.0;
    ParameterFlag flag = ParameterFlag::None;
};

QString Described(const FittedParameter& fitted, bool degreesOfFreedom) {
    const QString value = QString::number(fitted.value, 'g', 5);
    const QString unit = fitted.unit.isEmpty() ? QString() : QStringLiteral(" ") + fitted.unit;
    const bool hasError = std::isfinite(fitted.error) && fitted.error > 0.0;
    if (fitted.flag == ParameterFlag::AtBound)
        return QStringLiteral("%1 = %2%3 (at its bound)").arg(fitted.label, value, unit);
    if (fitted.flag == ParameterFlag::Undetermined || (degreesOfFreedom && !hasError))
        return fitted.label + QStringLiteral(": not determined");
    if (!degreesOfFreedom) return QStringLiteral("%1 = %2%3").arg(fitted.label, value, unit);
    return QStringLiteral("%1 = %2 ± %3%4")
        .arg(fitted.label, value, QString::number(fitted.error, 'g', 2), unit);
}

// The freed parameters in the order of the result's flags: the motion's, Rex, the CSA.
std::vector<FittedParameter> FittedParameters(const MotionFitResult& result,
                                              const MotionFitChoice& choice) {
    std::vector<FittedParameter> fitted;
    for (MotionParameter parameter : choice.free) {
        const MotionParameterInfo info = InfoOf(parameter);
        fitted.push_back({TextOf(info.label), TextOf(info.unit), result.motion[parameter],
                          result.errors[parameter]});
    }
    if (choice.rex)
        fitted.push_back(
            {QStringLiteral("Rex"), QStringLiteral("1/s"), result.rex, result.rexError});
    if (choice.csa)
        fitted.push_back(
            {QStringLiteral("CSA"), QStringLiteral("ppm"), result.csa, result.csaError});
    for (std::size_t i = 0; i < fitted.size() && i < result.flags.size(); ++i)
        fitted[i].flag = result.flags[i];
    return fitted;
}

}  // namespace

FitPanel::FitPanel(QWidget* parent)
    : QWidget(parent),
      rex_(new QCheckBox(QStringLiteral("Rex"), this)),
      csa_(new QCheckBox(QStringLiteral("CSA"), this)),
      live_(new QCheckBox(QStringLiteral("Fit at every change"), this)),
      fit_(new QPushButton(QStringLiteral("Fit"), this)),
      result_(new QLabel(this)) {
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(new QLabel(QStringLiteral("Free:"), this));
    for (int p = 0; p < kMotionParameterCount; ++p) {
        const MotionParameterInfo info = InfoOf(static_cast<MotionParameter>(p));
        auto* box = new QCheckBox(TextOf(info.label), this);
        box->setObjectName(QStringLiteral("free_") + TextOf(info.key));
        boxes->addWidget(box);
        parameters_.push_back(box);
        connect(box, &QCheckBox::toggled, this,
                [this] { Q_EMIT choiceChanged(Choice(), live_->isChecked()); });
    }
    for (QCheckBox* box : {rex_, csa_, live_}) {
        connect(box, &QCheckBox::toggled, this,
                [this] { Q_EMIT choiceChanged(Choice(), live_->isChecked()); });
    }
    boxes->addWidget(rex_);
    boxes->addWidget(csa_);
    boxes->addStretch();
    auto* actions = new QHBoxLayout;
    actions->addWidget(fit_);
    actions->addWidget(live_);
    actions->addStretch();
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    result_->setAccessibleName(QStringLiteral("Fit result"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(boxes);
    layout->addLayout(actions);
    layout->addWidget(result_);
    layout->addStretch();
    connect(fit_, &QPushButton::clicked, this, &FitPanel::fitRequested);
    ShowChoice(std::nullopt, {}, false);
}

QCheckBox* FitPanel::freeBox(MotionParameter parameter) const {
    return parameters_[static_cast<std::size_t>(parameter)];
}

void FitPanel::ShowChoice(std::optional<MotionKind> kind, const MotionFitChoice& choice,
                          bool live) {
    kind_ = kind;
    std::vector<QSignalBlocker> blockers;
    for (QCheckBox* box : parameters_) blockers.emplace_back(box);
    for (QCheckBox* box : {rex_, csa_, live_}) blockers.emplace_back(box);
    for (int p = 0; p < kMotionParameterCount; ++p) {
        const auto parameter = static_cast<MotionParameter>(p);
        const auto listed = kind ? ParametersOf(*kind) : std::span<const MotionParameter>();
        parameters_[p]->setVisible(std::find(listed.begin(), listed.end(), parameter) !=
                                   listed.end());
        parameters_[p]->setChecked(std::find(choice.free.begin(), choice.free.end(), parameter) !=
                                   choice.free.end());
    }
    rex_->setChecked(choice.rex);
    csa_->setChecked(choice.csa);
    live_->setChecked(live);
    fit_->setEnabled(kind.has_value());
    live_->setEnabled(kind.has_value());
    if (!kind) {
        ShowSpokenText(*result_,
                       QStringLiteral("Choose a motion in the Motion window (Ctrl+M) to fit it."));
    } else if (!fitted_) {
        ShowSpokenText(*result_, QStringLiteral("Tick the parameters to free, then press Fit."));
    }
}

MotionFitChoice FitPanel::Choice() const {
    MotionFitChoice choice;
    for (int p = 0; p < kMotionParameterCount; ++p) {
        if (parameters_[p]->isVisibleTo(this) || !kind_) {
            if (parameters_[p]->isChecked()) choice.free.push_back(static_cast<MotionParameter>(p));
        }
    }
    choice.rex = rex_->isChecked();
    choice.csa = csa_->isChecked();
    return choice;
}

void FitPanel::ShowResult(const MotionFitResult& result, const MotionFitChoice& choice) {
    fitted_ = true;
    if (result.status == FitResult::Status::Failed) {
        ShowSpokenText(*result_,
                       QStringLiteral("No fit: ") + QString::fromStdString(result.reason));
        return;
    }
    const int dof = result.DegreesOfFreedom();
    QStringList parts;
    for (const FittedParameter& fitted : FittedParameters(result, choice))
        parts << Described(fitted, dof > 0);
    if (dof < 1) {
        parts << QStringLiteral(
                     "χ² = %1 with no degrees of freedom (%2 rows, %3 free "
                     "parameters): no errors, reduced χ² or AICc")
                     .arg(QString::number(result.chi2, 'g', 5))
                     .arg(result.measurements)
                     .arg(result.freeCount);
    } else {
        const double aicc =
            CorrectedAkaike(result.chi2, static_cast<std::size_t>(result.measurements),
                            static_cast<std::size_t>(result.freeCount));
        parts << QStringLiteral("χ² = %1, reduced χ² = %2 with %3 degrees of freedom, AICc = %4")
                     .arg(QString::number(result.chi2, 'g', 5),
                          QString::number(result.chi2 / dof, 'g', 4))
                     .arg(dof)
                     .arg(std::isfinite(aicc) ? QString::number(aicc, 'g', 5)
                                              : QStringLiteral("–"));
    }
    if (result.status == FitResult::Status::NotConverged) {
        parts << QStringLiteral("Not converged: ") + QString::fromStdString(result.reason);
    }
    ShowSpokenText(*result_, parts.join(QStringLiteral("; ")));
}

}  // namespace veldorin
