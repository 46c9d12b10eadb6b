// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

#include "fit/residue_fit.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace veldorin {

// The model-free family m0..m9 fitted to the measurements and ranked by AIC, AICc or
// BIC, best first, the eliminated models greyed after them with the reason; the best
// model left applies as the motion, and any other left on request.
class ModelRankingPanel : public QWidget {
    Q_OBJECT

public:
    explicit ModelRankingPanel(QWidget* parent);

    void ShowRanking(const ModelSelection& selection, Criterion criterion);
    // What became of the ranking: which model applies, or why there is none.
    void ShowStatus(const QString& status);
    // The model or the rows changed since the ranking: it is cleared.
    void ShowOutdated();

    QComboBox* criterionList() const { return criterion_; }
    QPushButton* rankButton() const { return rank_; }
    QTreeWidget* rankingList() const { return ranking_; }
    QPushButton* applyButton() const { return apply_; }

Q_SIGNALS:
    void rankRequested(Criterion criterion);
    void modelChosen(int number);
    // Another criterion was chosen: the ranking shown, ordered by the one before, is cleared.
    void criterionChanged();

private:
    void ChooseSelected();
    void Clear(const QString& why);
    // The score column names the criterion chosen.
    void ShowCriterion();

    QComboBox* criterion_;
    QPushButton* rank_;
    QTreeWidget* ranking_;
    QPushButton* apply_;
    QLabel* status_;
};

}  // namespace veldorin
