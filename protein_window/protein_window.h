// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <initializer_list>
#include <utility>

#include "protein/protein_results.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableView;

namespace veldorin {

class FigureView;
class ProteinResultsModel;
class ResultsSortModel;
class SequencePlotView;

// A tool window beside the main one with a whole protein: the fit's settings, a row of
// results per residue (sortable), and a plot of a quantity along the sequence or, when the
// rates were fitted from peak intensities, of the selected residue's decays. It shows what
// it is told and reports each request and edit whole.
class ProteinWindow : public QWidget {
    Q_OBJECT

public:
    explicit ProteinWindow(QWidget* parent);
    ~ProteinWindow() override;

    // The project: its settings in the controls, its rows in the table, the chosen plot.
    void ShowProject(const ProteinProject& project);
    // A fit going (Fit disabled, Cancel and the progress shown) or not.
    void ShowRunning(bool running);
    void ShowProgress(const QString& stage, double share);
    // The line under the table: the protein's tm, what failed, what was read.
    void ShowStatus(const QString& text);
    // Selects the residue's row without reporting it.
    void SelectResidue(int residue);

    QTableView* table() const { return table_; }
    SequencePlotView* plot() const { return plot_; }
    FigureView* decayPlot() const { return decayPlot_; }
    QLabel* statusLabel() const { return status_; }
    QPushButton* fitButton() const { return fit_; }
    QComboBox* plotList() const { return plotList_; }
    QLabel* tensorLabel() const { return tensor_; }

Q_SIGNALS:
    void openDataRequested();
    void openProjectRequested();
    void saveProjectRequested();
    void exportRequested(bool rounded);
    void openStructureRequested();
    void saveStructureRequested();
    void fitRequested();
    void cancelRequested();
    // The settings as the controls now show them.
    void settingsEdited(const ProteinSettings& settings);
    // A residue chosen in the table or the plot, by its index in the data.
    void residueChosen(int residue);
    // The residue's model chosen by hand given back to the selection.
    void selectionRestored(int residue);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

Q_SIGNALS:
    void filesDropped(const QStringList& paths);

private:
    QWidget* FileButtons();
    QWidget* SettingsRow();
    // A row of the controls, each after its label (none for an empty text), room at its end.
    QWidget* LabelledRow(std::initializer_list<std::pair<QString, QWidget*>> controls);
    // The nucleus and its partner, their distance, the CSA and the pair frequencies.
    QWidget* SpinSystemRow();
    // The structure the tensor is fitted from, the bond read from it and the tensor's model.
    QWidget* StructureRow();
    QWidget* RunRow();
    QWidget* ResultsArea();
    void ShowPlot();
    // The plot list's item for a plot after the quantities always listed, the angle to the
    // unique axis or the decays, there or not.
    void ListPlot(int plot, const QString& name, bool listed);
    // The structure's models to take the bonds from, or their average; model 1 alone, not
    // to be chosen, without an ensemble.
    void ShowEnsemble(const ProteinProject& project);
    // The tensor fitted beside the plot, when there is one.
    void ShowTensor(const ProteinProject& project);
    void ShowDecays();
    void ReportSettings();
    void ReportChosenRow();
    void ReportChosenPoint(int point);
    // The table's menu on the right button, for the residue under the pointer.
    void ShowRowMenu(const QPoint& at);

    ProteinSettings shown_;  // what the controls were last given, with what they do not show
    const ProteinProject* project_ = nullptr;
    SequencePlot shownPlot_;
    bool showing_ = false;  // the program is setting the controls: no edit to report
    QComboBox* nucleus_;
    QComboBox* partner_;
    QDoubleSpinBox* distance_;
    QDoubleSpinBox* csa_;
    QComboBox* pairFrequencies_;
    QComboBox* tmMode_;
    QDoubleSpinBox* tm_;
    QComboBox* model_;
    QComboBox* criterion_;
    QSpinBox* monteCarloSets_;
    QDoubleSpinBox* rexField_;
    QPushButton* openStructure_;
    QLabel* structureName_;
    QLineEdit* bond_;
    QComboBox* ensemble_;
    QComboBox* diffusion_;
    QPushButton* saveStructure_;
    QPushButton* fit_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QLabel* stage_;
    QTableView* table_;
    ProteinResultsModel* results_;
    ResultsSortModel* sorted_;
    QComboBox* plotList_;
    QStackedWidget* plots_;
    SequencePlotView* plot_;
    FigureView* decayPlot_;
    QLabel* noDecays_;
    QLabel* tensor_;
    QLabel* status_;
};

}  // namespace veldorin
