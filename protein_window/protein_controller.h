// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

#include "document/model_document.h"
#include "protein/protein_project.h"

namespace veldorin {

class ProteinFitRun;
class ProteinWindow;

// What the Protein window needs of the main one: the model being edited, and to show a
// residue as that model (false when the user kept the model there instead).
struct ModelWindowLink {
    std::function<const ModelDocument&()> document;
    std::function<bool(ModelDocument)> showResidue;
};

// Holds the protein being analysed and shows it in the Protein window: opens data and
// project files, fits on a worker thread, saves and exports. A residue chosen becomes the
// model being edited in the main window; an edit of its rows or of its model there goes
// back into the protein, and the residue is fitted again on its own.
class ProteinController : public QObject {
    Q_OBJECT

public:
    ProteinController(ProteinWindow& window, ModelWindowLink link);
    ~ProteinController() override;

    void Open();
    // Reads the data files, merged by residue, as the protein; a message names every line
    // that cannot be read, and the protein shown stays.
    void OpenData(const QStringList& paths);
    // A project file, or data files; by what the first one holds.
    void OpenFiles(const QStringList& paths);
    void OpenProject(const QString& path);
    // A structure whose bonds the protein's tensor is fitted from; a message says why not,
    // and the status line what the reader did and which residues have no bond.
    void OpenStructure(const QString& path);
    // The structure with the quantity of the fit in its B-factors, and the viewers'
    // scripts beside it; the fit must have a tensor.
    void SaveStructure(const QString& path, ResultQuantity quantity);
    // After every change of the main window's model.
    void DocumentChanged();
    // The main window's model was replaced (a model file opened): no residue is shown.
    void DocumentReplaced();
    // Before the program closes: an unsaved fit is saved, dropped or kept, as asked.
    bool MayLeaveProject();

    const ProteinProject& project() const { return project_; }
    ProteinFitRun& fitRun() const { return *fitRun_; }

private:
    // The residue the main window shows, as it was shown or last taken back.
    struct ShownResidue {
        std::size_t index = 0;
        ModelDocument document;
    };

    void Show();
    void ChooseDataFiles();
    void ChooseProjectFile();
    void ChooseStructureFile();
    void ChooseStructureSave();
    // The structure's bonds read again for another bond or model of its ensemble: the bond
    // read, or nothing, said, when it has none.
    std::optional<BondSelection> ReadBondsAgain(const BondSelection& bond);
    void SaveProject();
    void Export(bool rounded);
    void Fit();
    void Cancel();
    void TakeSettings(const ProteinSettings& settings);
    void ShowResidue(int residue);
    void TakeFit(const ProteinFit& fit, int residue);
    void RefitResidue(std::size_t residue);
    void RestoreSelection(int residue);
    QString FitStatus() const;
    void ShowFitStatus();
    void Warn(const QString& title, const QString& text);

    ProteinWindow& window_;
    ModelWindowLink link_;
    ProteinProject project_;
    ProteinFitRun* fitRun_;
    std::optional<ShownResidue> shown_;
    bool modified_ = false;        // a fit or an edit not saved in a project file
    bool fittingProtein_ = false;  // the run going fits the whole protein
    QString projectPath_;
};

}  // namespace veldorin
