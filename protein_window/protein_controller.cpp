// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein_window/protein_controller.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <iterator>

#include "files/input_file.h"
#include "files/native_name.h"
#include "files/save_aside.h"
#include "fit/protein_report.h"
#include "fit/protein_sources.h"
#include "protein/residue_document.h"
#include "protein/structure_results.h"
#include "protein_window/opened_file_kind.h"
#include "protein_window/protein_fit_run.h"
#include "protein_window/protein_window.h"
#include "storage/protein_project_file.h"
#include "ui/save_dialog.h"

namespace veldorin {

namespace {

// The messages of a reader, each line prefixed with the file's name, at most this many.
constexpr int kMaxMessageLines = 20;

QString Lines(const std::string& text, const QString& name) {
    QStringList lines;
    for (const QString& line : QString::fromStdString(text).split('\n', Qt::SkipEmptyParts)) {
        if (lines.size() == kMaxMessageLines) {
            lines << QStringLiteral("…");
            break;
        }
        lines << name + QStringLiteral(": ") + line;
    }
    return lines.join('\n');
}

QString FitSummary(const ProteinFit& fit) {
    int fitted = 0;
    for (const ResidueOutcome& outcome : fit.residues) fitted += outcome.fit ? 1 : 0;
    QString text = QStringLiteral("%1 of %2 residues fitted")
                       .arg(fitted)
                       .arg(static_cast<int>(fit.residues.size()));
    if (fit.globalTmPs) {
        text +=
            QStringLiteral("; τm of the protein %1")
                .arg(QString::fromStdString(ValueWithError(*fit.globalTmPs, fit.globalTmErrorPs)) +
                     QStringLiteral(" ps"));
        if (fit.globalTmErrorSource == TmErrorSource::None) text += QStringLiteral(" (no error)");
    }
    if (fit.diffusion) {
        text += QStringLiteral("; %1 diffusion tensor")
                    .arg(QString::fromUtf8(DiffusionModelName(fit.diffusion->Chosen().model)));
    }
    return text + QStringLiteral(".");
}

}  // namespace

ProteinController::ProteinController(ProteinWindow& window, ModelWindowLink link)
    : QObject(&window), window_(window), link_(std::move(link)), fitRun_(new ProteinFitRun(this)) {
    connect(&window_, &ProteinWindow::openDataRequested, this, &ProteinController::ChooseDataFiles);
    connect(&window_, &ProteinWindow::openProjectRequested, this,
            &ProteinController::ChooseProjectFile);
    connect(&window_, &ProteinWindow::saveProjectRequested, this, &ProteinController::SaveProject);
    connect(&window_, &ProteinWindow::exportRequested, this, &ProteinController::Export);
    connect(&window_, &ProteinWindow::openStructureRequested, this,
            &ProteinController::ChooseStructureFile);
    connect(&window_, &ProteinWindow::saveStructureRequested, this,
            &ProteinController::ChooseStructureSave);
    connect(&window_, &ProteinWindow::fitRequested, this, &ProteinController::Fit);
    connect(&window_, &ProteinWindow::cancelRequested, this, &ProteinController::Cancel);
    connect(&window_, &ProteinWindow::settingsEdited, this, &ProteinController::TakeSettings);
    connect(&window_, &ProteinWindow::residueChosen, this, &ProteinController::ShowResidue);
    connect(&window_, &ProteinWindow::filesDropped, this, &ProteinController::OpenFiles);
    connect(&window_, &ProteinWindow::selectionRestored, this,
            &ProteinController::RestoreSelection);
    connect(fitRun_, &ProteinFitRun::progressed, &window_, &ProteinWindow::ShowProgress);
    connect(fitRun_, &ProteinFitRun::finished, this, &ProteinController::TakeFit);
    Show();
    window_.ShowStatus(
        tr("Open a protein's relaxation data: CSV (long or wide), "
           "NMR-STAR, or peak intensities."));
}

ProteinController::~ProteinController() = default;

void ProteinController::Open() {
    window_.show();
    window_.raise();
    window_.activateWindow();
}

void ProteinController::Show() { window_.ShowProject(project_); }

void ProteinController::OpenFiles(const QStringList& paths) {
    if (paths.size() == 1 && KindOfFile(paths.front()) == OpenedFileKind::ProteinProject) {
        OpenProject(paths.front());
    } else {
        OpenData(paths);
    }
}

void ProteinController::OpenData(const QStringList& paths) {
    if (paths.isEmpty() || !MayLeaveProject()) return;
    std::vector<NamedProteinData> files;
    std::vector<DecayFit> decays;
    QStringList problems;
    for (const QString& path : paths) {
        const std::string native = NativeName(path).toStdString();
        const QString name = QFileInfo(path).fileName();
        const InputFileRead file = ReadInputFile(native);
        if (!file.bytes) {
            problems << name + QStringLiteral(": ") + QString::fromStdString(file.reason);
            continue;
        }
        ProteinSourceRead read = ReadProteinSource(*file.bytes);
        if (!read.data) {
            problems << Lines(read.error, name);
            continue;
        }
        files.push_back({name.toStdString(), *std::move(read.data)});
        std::move(read.decays.begin(), read.decays.end(), std::back_inserter(decays));
    }
    ProteinDataRead merged;
    if (problems.isEmpty()) {
        merged = MergedProteinData(std::move(files));
        if (!merged.data) problems << Lines(merged.error, tr("merging"));
    }
    if (!problems.isEmpty()) {
        Warn(tr("Open data"), tr("Nothing was opened:\n") + problems.join('\n'));
        return;
    }
    fitRun_->Cancel();
    window_.ShowRunning(false);
    ProteinProject project;
    project.settings = project_.settings;
    for (const QString& path : paths) project.sources.push_back(path.toStdString());
    project.data = *std::move(merged.data);
    SortBySequence(project.data);
    project.decays = std::move(decays);
    QString status = tr("%1 residues read from %2. Fit them with Fit.")
                         .arg(static_cast<int>(project.data.residues.size()))
                         .arg(paths.join(QStringLiteral(", ")));
    // The structure stays for the new data while it has bonds of their residues.
    if (const auto& structure = project_.structure) {
        ProteinStructureTaken again = TakeProteinStructure(structure->fileName, structure->text,
                                                           project.settings.bond, project.data);
        const std::string& said = again.read.structure ? again.read.note : again.read.error;
        if (!said.empty())
            status +=
                QStringLiteral(" %1: %2.")
                    .arg(QString::fromStdString(structure->fileName), QString::fromStdString(said));
        if (again.read.structure) project.settings.bond = again.bond;
        project.structure = std::move(again.read.structure);
    }
    project_ = std::move(project);
    shown_.reset();
    modified_ = false;
    projectPath_.clear();
    Show();
    window_.ShowStatus(status);
    Open();
}

void ProteinController::OpenProject(const QString& path) {
    if (!MayLeaveProject()) return;
    ProteinProjectRead read = ReadProteinProjectFile(path);
    if (!read.project) {
        Warn(tr("Open project"), read.error);
        return;
    }
    fitRun_->Cancel();
    window_.ShowRunning(false);
    project_ = *std::move(read.project);
    shown_.reset();
    modified_ = false;
    projectPath_ = path;
    Show();
    // A model of the structure's ensemble it no longer has is said beside the fit.
    window_.ShowStatus(read.note.isEmpty() ? FitStatus()
                                           : FitStatus() + QLatin1Char(' ') + read.note + '.');
    Open();
}

void ProteinController::OpenStructure(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const InputFileRead file = ReadInputFile(NativeName(path).toStdString());
    if (!file.bytes) {
        Warn(tr("Open structure"),
             name + QStringLiteral(": ") + QString::fromStdString(file.reason));
        return;
    }
    // The model of an ensemble chosen stays for this structure, where it has that model.
    ProteinStructureTaken taken = TakeProteinStructure(name.toStdString(), *file.bytes,
                                                       project_.settings.bond, project_.data);
    const ProteinStructureRead& read = taken.read;
    if (!read.structure) {
        Warn(tr("Open structure"),
             name + QStringLiteral(": ") + QString::fromStdString(read.error));
        return;
    }
    project_.structure = std::move(taken.read.structure);
    project_.settings.bond = taken.bond;
    modified_ = true;
    Show();
    window_.ShowStatus(read.note.empty()
                           ? tr("%1 read: Fit fits the tensor from its bonds.").arg(name)
                           : name + QStringLiteral(": ") + QString::fromStdString(read.note) + '.');
}

std::optional<BondSelection> ProteinController::ReadBondsAgain(const BondSelection& bond) {
    ProteinStructureTaken taken = TakeProteinStructure(
        project_.structure->fileName, project_.structure->text, bond, project_.data);
    const ProteinStructureRead& read = taken.read;
    if (!read.structure) {
        Warn(tr("Bond"), QString::fromStdString(project_.structure->fileName + ": " + read.error));
        return std::nullopt;
    }
    project_.structure = std::move(taken.read.structure);
    if (!read.note.empty()) window_.ShowStatus(QString::fromStdString(read.note) + '.');
    return taken.bond;
}

void ProteinController::ChooseStructureFile() {
    const QString path =
        QFileDialog::getOpenFileName(&window_, tr("Open structure"), QString(),
                                     tr("Structures (*.pdb *.ent *.cif *.mmcif);;All files (*)"));
    if (!path.isEmpty()) OpenStructure(path);
}

void ProteinController::ChooseStructureSave() {
    if (!project_.structure || !project_.fit || !project_.fit->diffusion) return;
    QStringList names;
    for (int q = 0; q < kResultQuantityCount; ++q)
        names << QString::fromUtf8(CsvNameOf(static_cast<ResultQuantity>(q)));
    bool chosen = false;
    const QString name = QInputDialog::getItem(
        &window_, tr("Save structure"), tr("The B-factors hold:"), names,
        static_cast<int>(names.indexOf(QStringLiteral("S2"))), false, &chosen);
    if (!chosen) return;
    const QString suffix = QFileInfo(QString::fromStdString(project_.structure->fileName)).suffix();
    const bool mmcif = suffix.compare(QStringLiteral("cif"), Qt::CaseInsensitive) == 0 ||
                       suffix.compare(QStringLiteral("mmcif"), Qt::CaseInsensitive) == 0;
    const QString path =
        ChooseSaveName(&window_, tr("Save structure as"), QString(),
                       {mmcif ? SaveFormat{tr("mmCIF structure"), QStringLiteral("cif")}
                              : SaveFormat{tr("PDB structure"), QStringLiteral("pdb")}});
    if (!path.isEmpty()) SaveStructure(path, static_cast<ResultQuantity>(names.indexOf(name)));
}

void ProteinController::SaveStructure(const QString& path, ResultQuantity quantity) {
    if (!project_.structure || !project_.fit || !project_.fit->diffusion) return;
    const StructureResults results =
        StructureResultFiles(path.toStdString(), project_.structure->text,
                             project_.structure->bonds.centre, *project_.fit, quantity);
    if (results.files.empty()) {
        Warn(tr("Save structure"),
             path + QStringLiteral(": ") + QString::fromStdString(results.error));
        return;
    }
    QStringList written;
    for (const OutputFile& file : results.files) {
        const QString name = QString::fromStdString(file.path);
        if (const auto failure = SaveBytesAside(name, QByteArray::fromStdString(file.bytes))) {
            Warn(tr("Save structure"), *failure);
            return;
        }
        written << name;
    }
    window_.ShowStatus(
        tr("The structure with %1 as B-factors is in %2, the viewers' scripts in %3.")
            .arg(QString::fromUtf8(CsvNameOf(quantity)), written.front(),
                 written.mid(1).join(tr(" and "))));
}

void ProteinController::ChooseDataFiles() {
    const QStringList paths = QFileDialog::getOpenFileNames(
        &window_, tr("Open relaxation data"), QString(),
        tr("Relaxation data (*.csv *.tsv *.txt *.dat *.str *.nmrstar);;All files (*)"));
    if (!paths.isEmpty()) OpenData(paths);
}

void ProteinController::ChooseProjectFile() {
    const QString path =
        QFileDialog::getOpenFileName(&window_, tr("Open protein project"), QString(),
                                     tr("Protein projects (*.veldorin-protein);;All files (*)"));
    if (!path.isEmpty()) OpenProject(path);
}

void ProteinController::SaveProject() {
    const QString path =
        ChooseSaveName(&window_, tr("Save protein project as"), projectPath_,
                       {{tr("Protein project"), QStringLiteral("veldorin-protein")}});
    if (path.isEmpty()) return;
    if (const auto failure = WriteProteinProjectFile(path, project_)) {
        Warn(tr("Save project"), *failure);
        return;
    }
    projectPath_ = path;
    modified_ = false;
}

void ProteinController::Export(bool rounded) {
    if (!project_.fit) {
        Warn(tr("Export results"), tr("There are no results yet: fit the protein first."));
        return;
    }
    const QString path = ChooseSaveName(&window_, tr("Export results as"), QString(),
                                        {{tr("CSV table"), QStringLiteral("csv")}});
    if (path.isEmpty()) return;
    const std::string csv =
        ProteinFitCsv(*project_.fit, rounded ? CsvRounding::ToError : CsvRounding::Full);
    const QString reportPath = QFileInfo(path).path() + QLatin1Char('/') +
                               QFileInfo(path).completeBaseName() + QStringLiteral(".report.json");
    const ReportedFiles files{project_.sources, std::nullopt, reportPath.toStdString(),
                              std::nullopt};
    const std::string report =
        ProteinReportJson(project_.settings.nucleus, project_.settings.partner,
                          project_.FitOptions(), files, *project_.fit);
    for (const auto& [file, text] : {std::pair{path, csv}, std::pair{reportPath, report}}) {
        if (const auto failure = SaveBytesAside(file, QByteArray::fromStdString(text))) {
            Warn(tr("Export results"), *failure);
            return;
        }
    }
    window_.ShowStatus(
        tr("The results are in %1, how they were fitted in %2.").arg(path, reportPath));
}

void ProteinController::Fit() {
    if (project_.data.residues.empty()) {
        window_.ShowStatus(tr("No data to fit: open a protein's relaxation data first."));
        return;
    }
    window_.ShowRunning(true);
    window_.ShowProgress(tr("Starting"), 0.0);
    fittingProtein_ = true;
    fitRun_->Start(project_.data, project_.FitOptions());
}

void ProteinController::Cancel() {
    fitRun_->Cancel();
    fittingProtein_ = false;
    window_.ShowRunning(false);
    window_.ShowStatus(tr("The fit was cancelled; the results shown are those from before."));
}

void ProteinController::TakeSettings(const ProteinSettings& settings) {
    const ProteinFitOptions& now = settings.fit;
    const ProteinFitOptions& was = project_.settings.fit;
    const FitSpinSystem& system = now.residue.system;
    const FitSpinSystem& before = was.residue.system;
    // Rex's field changes only what is shown.
    const bool onlyShown =
        now.globalTm == was.globalTm && now.residue.fitTm == was.residue.fitTm &&
        now.residue.tmPs == was.residue.tmPs && now.model == was.model &&
        now.criterion == was.criterion && now.monteCarloSets == was.monteCarloSets &&
        settings.nucleus == project_.settings.nucleus &&
        settings.partner == project_.settings.partner &&
        system.neighbours.front().distance == before.neighbours.front().distance &&
        system.csaPpm == before.csaPpm && system.pairFrequencies == before.pairFrequencies &&
        settings.diffusion == project_.settings.diffusion &&
        (!project_.structure || settings.bond == project_.settings.bond);
    ProteinSettings taken = settings;
    if (project_.structure && settings.bond != project_.settings.bond) {
        const std::optional<BondSelection> read = ReadBondsAgain(settings.bond);
        if (!read) {
            Show();
            return;
        }
        taken.bond = *read;
    }
    project_.settings = std::move(taken);
    modified_ = true;
    Show();
    if (project_.fit && !onlyShown) {
        window_.ShowStatus(tr("The settings changed since the fit shown: Fit applies them."));
    }
}

void ProteinController::TakeFit(const ProteinFit& fit, int residue) {
    window_.ShowRunning(false);
    fittingProtein_ = false;
    if (residue < 0) {
        project_.fit = fit;
    } else if (!fit.residues.empty()) {
        project_.TakeResidueFit(static_cast<std::size_t>(residue), fit.residues.front());
    }
    modified_ = true;
    Show();
    ShowFitStatus();
    // The residue shown in the main window shows its new fit there, after the whole
    // protein's fit or its own refit, unless the model there was edited again meanwhile.
    if (shown_ && (residue < 0 || shown_->index == static_cast<std::size_t>(residue)) &&
        SameModel(link_.document(), shown_->document)) {
        ShowResidue(static_cast<int>(shown_->index));
    }
}

QString ProteinController::FitStatus() const {
    return project_.fit ? FitSummary(*project_.fit)
                        : tr("Not fitted yet: choose the settings and Fit.");
}

void ProteinController::ShowFitStatus() { window_.ShowStatus(FitStatus()); }

void ProteinController::ShowResidue(int residue) {
    if (residue < 0 || static_cast<std::size_t>(residue) >= project_.data.residues.size()) return;
    const auto index = static_cast<std::size_t>(residue);
    const ResidueModel shown =
        ResidueDocument(project_, index, link_.document(), TumblingOf(project_, index));
    // The main window recalculates as it takes the residue: no edit comes back from that.
    shown_.reset();
    if (!link_.showResidue(shown.document)) return;
    shown_ = ShownResidue{index, link_.document()};
    if (!shown.note.empty()) window_.ShowStatus(QString::fromStdString(shown.note));
}

void ProteinController::DocumentChanged() {
    if (!shown_) return;
    const ModelDocument& now = link_.document();
    const ResidueEdit edit =
        EditOf(shown_->document, now, project_.settings, TumblingOf(project_, shown_->index));
    shown_->document = now;
    if (!edit.Any()) return;
    if (edit.rows) project_.SetRows(shown_->index, *edit.rows);
    if (edit.model) project_.ChooseModel(shown_->index, edit.model);
    modified_ = true;
    RefitResidue(shown_->index);
}

void ProteinController::RefitResidue(std::size_t residue) {
    if (!project_.fit) {
        Show();
        return;
    }
    const QString name = QString::fromStdString(project_.data.residues[residue].residue);
    if (project_.fit->diffusion && project_.fit->residues[residue].failure == kNoBond) {
        window_.ShowStatus(tr("Residue %1 has no bond in the structure: it is not fitted with "
                              "the tensor.")
                               .arg(name));
        Show();
        return;
    }
    // The protein's fit going was started from rows that are no longer these.
    if (fittingProtein_) {
        Cancel();
        window_.ShowStatus(tr("Residue %1 changed while the protein was fitted: that fit was "
                              "stopped. Fit again to fit the protein with the change.")
                               .arg(name));
        Show();
        return;
    }
    ProteinData one;
    one.residues.push_back(project_.data.residues[residue]);
    window_.ShowRunning(true);
    fitRun_->Start(std::move(one), ResidueRefitOptions(project_, residue),
                   static_cast<int>(residue));
    window_.ShowStatus(tr("Residue %1 is fitted again with its edits.").arg(name));
}

void ProteinController::RestoreSelection(int residue) {
    if (residue < 0 || static_cast<std::size_t>(residue) >= project_.data.residues.size()) return;
    project_.ChooseModel(static_cast<std::size_t>(residue), std::nullopt);
    modified_ = true;
    RefitResidue(static_cast<std::size_t>(residue));
}

void ProteinController::DocumentReplaced() { shown_.reset(); }

bool ProteinController::MayLeaveProject() {
    if (!modified_ || !project_.fit) return true;
    const auto answer = QMessageBox::question(
        &window_, tr("Protein"),
        tr("The protein's fit has not been saved in a project file. Save it first?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Save) {
        SaveProject();
        return !modified_;
    }
    return true;
}

void ProteinController::Warn(const QString& title, const QString& text) {
    QMessageBox::warning(&window_, title, text);
}

}  // namespace veldorin
