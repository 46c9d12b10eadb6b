// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/model_ranking_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/spoken_name.h"

namespace veldorin {
namespace {

// What each model found comes last: it is the widest.
enum Column { kModelColumn, kChiSquaredColumn, kScoreColumn, kDeltaColumn, kFoundColumn };

// How the window shows a parameter of the family: in the motion's units, the overall and
// slow times in ns.
struct ShownParameter {
    ModelFreeParameter parameter;
    const char* label;
    double scale;
    const char* unit;
};
constexpr ShownParameter kShown[] = {
    {ModelFreeParameter::Tm, "τm", 1e-3, " ns"},   {ModelFreeParameter::S2f, "S²f", 1.0, ""},
    {ModelFreeParameter::S2s, "S²s", 1.0, ""},     {ModelFreeParameter::Te, "τe", 1.0, " ps"},
    {ModelFreeParameter::Tf, "τf", 1.0, " ps"},    {ModelFreeParameter::Ts, "τs", 1e-3, " ns"},
    {ModelFreeParameter::Rex, "Rex", 1.0, " 1/s"}, {ModelFreeParameter::Csa, "CSA", 1.0, " ppm"},
};

// How the fit left a parameter, when not with an error of its own.
QString FlagNote(const ModelFit& fit, ModelFreeParameter parameter) {
    const auto at = std::ranges::find(fit.free, parameter) - fit.free.begin();
    if (static_cast<std::size_t>(at) >= fit.flags.size()) return {};
    switch (fit.flags[static_cast<std::size_t>(at)]) {
        case ParameterFlag::AtBound: return QStringLiteral(" (at its bound)");
        case ParameterFlag::Undetermined: return QStringLiteral(" (not determined)");
        case ParameterFlag::None: break;
    }
    return {};
}

QString Found(const ModelFit& fit) {
    if (fit.status == FitResult::Status::Failed) return QString::fromStdString(fit.reason);
    const bool extended = ModelFreeModelNumber(fit.model).extended;
    QStringList found;
    for (const ShownParameter& shown : kShown) {
        if (std::ranges::find(fit.free, shown.parameter) == fit.free.end()) continue;
        // In models 1 to 4 S2s holds the one order parameter.
        const QString label = shown.parameter == ModelFreeParameter::S2s && !extended
                                  ? QStringLiteral("S²")
                                  : QString::fromUtf8(shown.label);
        found << QStringLiteral("%1 = %2%3%4")
                     .arg(label, QString::number(fit.values[shown.parameter] * shown.scale, 'g', 4),
                          QString::fromUtf8(shown.unit), FlagNote(fit, shown.parameter));
    }
    if (fit.status == FitResult::Status::NotConverged) found << QStringLiteral("not converged");
    return found.isEmpty() ? QStringLiteral("nothing fitted") : found.join(QStringLiteral(", "));
}

QString Number(double value) {
    return std::isfinite(value) ? QString::number(value, 'f', 2) : QStringLiteral("–");
}

// A line of the ranking as a screen reader reads it: each column's heading with its text.
QString SpokenLine(const QTreeWidget& ranking, const QTreeWidgetItem* line) {
    if (line == nullptr) return {};
    QStringList cells;
    for (int column = 0; column < ranking.columnCount(); ++column) {
        if (line->text(column).isEmpty()) continue;
        cells << ranking.headerItem()->text(column) + QStringLiteral(": ") + line->text(column);
    }
    return cells.join(QStringLiteral("; "));
}

}  // namespace

ModelRankingPanel::ModelRankingPanel(QWidget* parent)
    : QWidget(parent),
      criterion_(new QComboBox(this)),
      rank_(new QPushButton(QStringLiteral("Rank m0–m9"), this)),
      ranking_(new QTreeWidget(this)),
      apply_(new QPushButton(QStringLiteral("Use selected model"), this)),
      status_(new QLabel(this)) {
    criterion_->addItems({QStringLiteral("AIC"), QStringLiteral("AICc"), QStringLiteral("BIC")});
    SetSpokenName(*criterion_, QStringLiteral("Criterion"));
    ranking_->setAccessibleName(QStringLiteral("Model ranking"));
    ranking_->setRootIsDecorated(false);
    ranking_->setHeaderLabels({QStringLiteral("Model"), QStringLiteral("χ²"), QStringLiteral("AIC"),
                               QStringLiteral("Δ"), QStringLiteral("Found")});
    ranking_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    apply_->setEnabled(false);
    status_->setWordWrap(true);
    status_->setAccessibleName(QStringLiteral("Ranking status"));
    auto* note = new QLabel(
        QStringLiteral(
            "τm and the CSA are fitted when they are ticked free under Fit, else kept. Models "
            "with Rex fit it; the others have none. The best model left applies as the motion; "
            "eliminated models are greyed with the reason."),
        this);
    note->setWordWrap(true);
    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Rank by"), this));
    controls->addWidget(criterion_);
    controls->addWidget(rank_);
    controls->addStretch();
    controls->addWidget(apply_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(ranking_);
    layout->addWidget(status_);
    layout->addWidget(note);
    connect(rank_, &QPushButton::clicked, this,
            [this] { Q_EMIT rankRequested(static_cast<Criterion>(criterion_->currentIndex())); });
    connect(criterion_, &QComboBox::currentIndexChanged, this, &ModelRankingPanel::ShowCriterion);
    connect(apply_, &QPushButton::clicked, this, &ModelRankingPanel::ChooseSelected);
    connect(ranking_, &QTreeWidget::itemDoubleClicked, this, &ModelRankingPanel::ChooseSelected);
    connect(ranking_, &QTreeWidget::itemSelectionChanged, this,
            [this] { apply_->setEnabled(!ranking_->selectedItems().isEmpty()); });
    connect(ranking_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* line) {
        ranking_->setAccessibleDescription(SpokenLine(*ranking_, line));
    });
}

void ModelRankingPanel::ShowRanking(const ModelSelection& selection, Criterion criterion) {
    ranking_->clear();
    ranking_->headerItem()->setText(kScoreColumn,
                                    criterion_->itemText(static_cast<int>(criterion)));
    std::vector<const ModelFit*> order;
    for (const ModelFit& fit : selection.fits) order.push_back(&fit);
    // The models left by score, the eliminated after them in the family's order.
    const auto rank = [criterion](const ModelFit* fit) {
        return fit->eliminated.empty() ? fit->Score(criterion)
                                       : std::numeric_limits<double>::infinity();
    };
    std::ranges::stable_sort(order, {}, rank);
    const double best = selection.chosen >= 0 ? rank(&selection.fits[selection.chosen])
                                              : std::numeric_limits<double>::quiet_NaN();
    for (const ModelFit* fit : order) {
        const bool converged = fit->status == FitResult::Status::Converged;
        const bool left = fit->eliminated.empty();
        auto* item = new QTreeWidgetItem(ranking_);
        item->setText(kModelColumn, QStringLiteral("m%1").arg(fit->model));
        item->setText(kChiSquaredColumn, converged ? Number(fit->chi2) : QString());
        item->setText(kScoreColumn, converged ? Number(fit->Score(criterion)) : QString());
        item->setText(kDeltaColumn, left ? Number(rank(fit) - best) : QString());
        item->setData(kModelColumn, Qt::UserRole, fit->model);
        if (left) {
            item->setText(kFoundColumn, Found(*fit));
        } else {
            // Greyed and out of reach: an eliminated model is no answer to apply.
            // A fit that failed says why in its own words.
            const std::string& reason =
                converged || fit->reason.empty() ? fit->eliminated : fit->reason;
            item->setText(kFoundColumn,
                          QStringLiteral("eliminated: ") + QString::fromStdString(reason));
            item->setToolTip(kFoundColumn, Found(*fit));
            item->setFlags(Qt::NoItemFlags);
        }
        if (fit->model == selection.chosen) {
            QFont bold = item->font(0);
            bold.setBold(true);
            for (int column = 0; column <= kFoundColumn; ++column) item->setFont(column, bold);
            ranking_->setCurrentItem(item);
        }
    }
    ShowStatus(selection.chosen < 0
                   ? QStringLiteral("No model is left: each was eliminated for the reason it "
                                    "gives. The motion stays as it was.")
                   : QStringLiteral("m%1 applies as the motion.").arg(selection.chosen));
}

void ModelRankingPanel::ShowStatus(const QString& status) { ShowSpokenText(*status_, status); }

void ModelRankingPanel::ShowOutdated() {
    Clear(QStringLiteral("The model or the rows have changed since the ranking: rank again."));
}

void ModelRankingPanel::ShowCriterion() {
    ranking_->headerItem()->setText(kScoreColumn, criterion_->currentText());
    if (ranking_->topLevelItemCount() > 0) {
        Clear(QStringLiteral("The criterion has changed since the ranking: rank again."));
    }
    Q_EMIT criterionChanged();
}

void ModelRankingPanel::Clear(const QString& why) {
    ranking_->clear();
    apply_->setEnabled(false);
    ShowStatus(why);
}

void ModelRankingPanel::ChooseSelected() {
    const QList<QTreeWidgetItem*> selected = ranking_->selectedItems();
    if (selected.isEmpty() || !(selected.front()->flags() & Qt::ItemIsEnabled)) return;
    const int number = selected.front()->data(kModelColumn, Qt::UserRole).toInt();
    ShowStatus(QStringLiteral("m%1 applies as the motion.").arg(number));
    Q_EMIT modelChosen(number);
}

}  // namespace veldorin
