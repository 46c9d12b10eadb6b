// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/monte_carlo_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "ui/spoken_name.h"
#include "ui/utf8_text.h"

namespace veldorin {
namespace {

QString Number(double value) {
    return std::isfinite(value) ? QString::number(value, 'g', 4) : QStringLiteral("–");
}

// A parameter's spread over the synthetic fits. One the fit left at a bound has no
// symmetric error, and one it could not determine no value: their lines give the range.
QString SpreadLine(const QString& name, double value, const QString& unit, ParameterFlag flag,
                   const ParameterSpread& spread) {
    const QString space = unit.isEmpty() ? QString() : QStringLiteral(" ");
    const QString range = QStringLiteral("95 % of the synthetic fits between %1 and %2%3%4")
                              .arg(Number(spread.low), Number(spread.high), space, unit);
    switch (flag) {
        case ParameterFlag::AtBound:
            return QStringLiteral("%1 = %2%3%4 (at its bound): %5")
                .arg(name, Number(value), space, unit, range);
        case ParameterFlag::Undetermined:
            return QStringLiteral("%1: not determined (%2)").arg(name, range);
        case ParameterFlag::None: break;
    }
    return QStringLiteral("%1 = %2%3%4: SD %5, 95 % between %6 and %7")
        .arg(name, Number(value), space, unit, Number(spread.standardDeviation), Number(spread.low),
             Number(spread.high));
}

}  // namespace

MonteCarloPanel::MonteCarloPanel(QWidget* parent)
    : QWidget(parent),
      sets_(new QSpinBox(this)),
      seed_(new QSpinBox(this)),
      run_(new QPushButton(QStringLiteral("Estimate errors"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      progress_(new QProgressBar(this)),
      result_(new QLabel(this)) {
    sets_->setRange(10, 100000);
    sets_->setValue(500);
    sets_->setAccessibleName(QStringLiteral("Synthetic data sets"));
    seed_->setRange(0, std::numeric_limits<int>::max());
    seed_->setValue(1);
    seed_->setAccessibleName(QStringLiteral("Seed"));
    seed_->setToolTip(QStringLiteral("The same seed gives the same synthetic data sets"));
    run_->setToolTip(QStringLiteral(
        "Fits, then fits again each synthetic data set made from the fitted values plus "
        "Gaussian noise of each measurement's uncertainty"));
    progress_->setAccessibleName(QStringLiteral("Monte Carlo progress"));
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    result_->setAccessibleName(QStringLiteral("Monte Carlo errors"));
    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Sets:"), this));
    controls->addWidget(sets_);
    controls->addWidget(new QLabel(QStringLiteral("Seed:"), this));
    controls->addWidget(seed_);
    controls->addWidget(run_);
    controls->addWidget(cancel_);
    controls->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(progress_);
    layout->addWidget(result_);
    layout->addStretch();
    connect(run_, &QPushButton::clicked, this, [this] {
        Q_EMIT runRequested(sets_->value(), static_cast<std::uint64_t>(seed_->value()));
    });
    connect(cancel_, &QPushButton::clicked, this, &MonteCarloPanel::cancelRequested);
    ShowIdle();
    ShowSpokenText(*result_,
                   QStringLiteral("The errors of the fit by refitting synthetic data sets."));
}

void MonteCarloPanel::ShowIdle() {
    run_->setEnabled(true);
    cancel_->setEnabled(false);
    progress_->setVisible(false);
}

void MonteCarloPanel::ShowRunning(int sets) {
    run_->setEnabled(false);
    cancel_->setEnabled(true);
    progress_->setRange(0, sets);
    progress_->setValue(0);
    progress_->setVisible(true);
    ShowSpokenText(*result_, QStringLiteral("Fitting %1 synthetic data sets…").arg(sets));
}

void MonteCarloPanel::ShowProgress(int done) { progress_->setValue(done); }

void MonteCarloPanel::ShowResult(const MotionFitResult& fitted, const MotionFitChoice& choice,
                                 const MotionMonteCarlo& spread) {
    ShowIdle();
    QStringList lines;
    std::size_t i = 0;
    // The fit's flags come in the order of the spread: the motion's, Rex, the CSA.
    const auto line = [&](const QString& name, double value, const QString& unit) {
        const ParameterFlag flag = i < fitted.flags.size() ? fitted.flags[i] : ParameterFlag::None;
        lines << SpreadLine(name, value, unit, flag, spread.spread[i]);
        ++i;
    };
    for (MotionParameter parameter : choice.free) {
        const MotionParameterInfo info = InfoOf(parameter);
        line(TextOf(info.label), fitted.motion[parameter], TextOf(info.unit));
    }
    if (choice.rex) line(QStringLiteral("Rex"), fitted.rex, QStringLiteral("1/s"));
    if (choice.csa) line(QStringLiteral("CSA"), fitted.csa, QStringLiteral("ppm"));
    lines << QStringLiteral("%1 of %2 synthetic fits converged.")
                 .arg(spread.fitted)
                 .arg(spread.drawn);
    // As the batch fit eliminates a model whose Monte Carlo fits fail this often.
    if (10 * (spread.drawn - spread.fitted) > spread.drawn) {
        lines << QStringLiteral("More than a tenth failed: these errors are not to be trusted.");
    }
    ShowSpokenText(*result_, lines.join('\n'));
}

void MonteCarloPanel::ShowStopped(const QString& why) {
    ShowIdle();
    ShowSpokenText(*result_, why);
}

}  // namespace veldorin
