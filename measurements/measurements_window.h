// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <vector>

#include "engine/measurement.h"
#include "engine/model.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QTabWidget;
class QTableView;

namespace veldorin {
class FitPanel;
class MeasurementRowsModel;
class ModelRankingPanel;
class MonteCarloPanel;
}  // namespace veldorin

namespace veldorin {

// A tool window beside the main one with the measured rates: a table of rows (field in
// MHz, quantity, value, uncertainty) typed, pasted from a spreadsheet or imported from
// CSV, each beside the value the model gives at its field and the difference in units of
// the uncertainty, χ² below, and the choice of how a pair's frequencies are formed; under
// them the fit, the ranking of the model-free family and the Monte Carlo errors, one tab
// each. It shows what it is told; every edit is reported whole.
class MeasurementsWindow : public QWidget {
    Q_OBJECT

public:
    explicit MeasurementsWindow(QWidget* parent);
    ~MeasurementsWindow() override;

    // The rows as typed, with their bad cells marked; the setting; and whether the spin
    // system has a pair of opposite signs, whose rates the setting changes.
    void ShowRows(const std::vector<MeasurementTexts>& rows, PairFrequencySigns signs,
                  bool oppositeSignPair);
    // The model's values beside the rows, after every recalculation.
    void ShowComparisons(const Comparisons& comparisons);

    QTableView* table() const { return table_; }
    QLabel* chiSquaredLabel() const { return chiSquared_; }
    QComboBox* pairFrequencyList() const { return pairFrequencies_; }
    QLabel* noteLabel() const { return note_; }
    FitPanel* fitPanel() const { return fitPanel_; }
    ModelRankingPanel* rankingPanel() const { return rankingPanel_; }
    MonteCarloPanel* monteCarloPanel() const { return monteCarloPanel_; }
    // Reads rows (tab-separated, or CSV with a header) and appends them; a message names the
    // bad cells by the rows the table shows them in. Rows of several residues are not pooled:
    // a question asks whose to take.
    void Append(const QString& text, char separator);
    // Appends the rows of a file's text, its cells separated as its first line shows.
    void Import(const QString& text);
    // Appends the rows of the whole file at `path`; a warning says why a file is not read.
    void ImportPath(const QString& path);
    // Says on the note's line that the pair frequencies became signed as the first rows
    // came in, until `shown` is false.
    void ShowSwitchedToSigned(bool shown);

Q_SIGNALS:
    void rowsEdited(const std::vector<MeasurementTexts>& rows);
    void pairFrequenciesChosen(PairFrequencySigns signs);
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetUpTable();
    void SetUpPairFrequencies();
    void LayOut();
    // Import and Remove, their row under the table.
    QHBoxLayout* RowButtons();
    // The fit, the ranking and the Monte Carlo errors, a tab each.
    QTabWidget* FittingTabs();
    void ImportFile();
    void RemoveSelectedRows();
    void ShowNote();

    MeasurementRowsModel* rows_;
    QTableView* table_;
    QLabel* chiSquared_;
    QComboBox* pairFrequencies_;
    QLabel* note_;
    FitPanel* fitPanel_;
    ModelRankingPanel* rankingPanel_;
    MonteCarloPanel* monteCarloPanel_;
    bool oppositeSignPair_ = false;
    bool switchedToSigned_ = false;
};

}  // namespace veldorin
