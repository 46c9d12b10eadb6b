// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein_window/protein_window.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "files/native_name.h"
#include "graph_panel/figure_view.h"
#include "graph_panel/sequence_plot_view.h"
#include "protein_window/protein_results_model.h"
#include "ui/spoken_name.h"

namespace veldorin {

namespace {

// The τm list's items, in order.
enum class TmMode { Global, Local, Fixed };

// The plot list's items hold what they plot: a quantity along the sequence, or the decays.
constexpr int kDecayPlotItem = kSequenceQuantityCount;
constexpr int kAnglePlotItem = static_cast<int>(SequenceQuantity::BondAngle);

QComboBox* List(const QStringList& items, const char* name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(items);
    return list;
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

ProteinWindow::ProteinWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      nucleus_(List({QStringLiteral("15N"), QStringLiteral("13C"), QStringLiteral("1H")},
                    "proteinNucleus", this)),
      partner_(List({QStringLiteral("1H"), QStringLiteral("13C"), QStringLiteral("15N")},
                    "proteinPartner", this)),
      distance_(new QDoubleSpinBox(this)),
      csa_(new QDoubleSpinBox(this)),
      pairFrequencies_(List({tr("signed"), tr("magnitudes")}, "proteinPairFrequencies", this)),
      tmMode_(List({tr("one for the protein, fitted"), tr("each residue its own"), tr("fixed at")},
                   "proteinTmMode", this)),
      tm_(new QDoubleSpinBox(this)),
      model_(List({tr("selected")}, "proteinModel", this)),
      criterion_(List({QStringLiteral("AIC"), QStringLiteral("AICc"), QStringLiteral("BIC")},
                      "proteinCriterion", this)),
      monteCarloSets_(new QSpinBox(this)),
      rexField_(new QDoubleSpinBox(this)),
      openStructure_(Button(tr("Structure…"), "proteinOpenStructure", this)),
      structureName_(new QLabel(this)),
      bond_(new QLineEdit(this)),
      ensemble_(List({}, "proteinEnsemble", this)),
      diffusion_(List({tr("Sphere"), tr("Prolate"), tr("Oblate"), tr("Ellipsoid"),
                       tr("Auto (criterion chooses)")},
                      "proteinDiffusion", this)),
      saveStructure_(Button(tr("Save structure…"), "proteinSaveStructure", this)),
      fit_(Button(tr("&Fit"), "proteinFit", this)),
      cancel_(Button(tr("Cancel"), "proteinCancel", this)),
      progress_(new QProgressBar(this)),
      stage_(new QLabel(this)),
      table_(new QTableView(this)),
      results_(new ProteinResultsModel(this)),
      sorted_(new ResultsSortModel(this)),
      plotList_(new QComboBox(this)),
      plots_(new QStackedWidget(this)),
      plot_(new SequencePlotView(this)),
      decayPlot_(new FigureView(this)),
      noDecays_(new QLabel(this)),
      tensor_(new QLabel(this)),
      status_(new QLabel(this)) {
    setObjectName("proteinWindow");
    setWindowTitle(tr("Protein"));
    setAcceptDrops(true);
    for (int model = 0; model < kModelFreeModelCount; ++model)
        model_->addItem(QStringLiteral("m%1").arg(model));
    distance_->setObjectName("proteinDistance");
    distance_->setRange(0.5, 10.0);
    distance_->setDecimals(3);
    distance_->setSingleStep(0.01);
    distance_->setSuffix(QStringLiteral(" Å"));
    csa_->setObjectName("proteinCsa");
    csa_->setRange(-1000.0, 1000.0);
    csa_->setDecimals(1);
    csa_->setSuffix(QStringLiteral(" ppm"));
    tm_->setObjectName("proteinTm");
    tm_->setRange(1.0, 1e6);
    tm_->setDecimals(1);
    tm_->setSuffix(QStringLiteral(" ps"));
    monteCarloSets_->setObjectName("proteinMonteCarloSets");
    monteCarloSets_->setRange(0, 10000);
    rexField_->setObjectName("proteinRexField");
    rexField_->setRange(1.0, 2000.0);
    rexField_->setDecimals(1);
    rexField_->setSuffix(QStringLiteral(" MHz"));
    status_->setObjectName("proteinStatus");
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    stage_->setObjectName("proteinStage");
    progress_->setObjectName("proteinProgress");
    progress_->setRange(0, 1000);
    plotList_->setObjectName("proteinPlotList");
    for (int quantity = 0; quantity < kSequenceQuantityCount; ++quantity) {
        if (quantity == kAnglePlotItem) continue;
        plotList_->addItem(QString::fromStdString(NameOf(static_cast<SequenceQuantity>(quantity))),
                           quantity);
    }
    bond_->setObjectName("proteinBond");
    bond_->setFixedWidth(bond_->fontMetrics().horizontalAdvance(QStringLiteral("CA-HA")) * 2);
    bond_->setToolTip(tr("The bond of each residue: two atom names, as N-H or CA-HA"));
    criterion_->setToolTip(
        tr("What chooses each residue's model and, with a structure, the diffusion tensor. "
           "AICc counts how few rates a residue has, and with a tensor gives truer errors"));
    ensemble_->setToolTip(
        tr("The model of an NMR ensemble the bonds are read from, or the "
           "average of their directions over all its models"));
    structureName_->setObjectName("proteinStructureName");
    const std::pair<QWidget*, QString> spoken[] = {{nucleus_, tr("Nucleus")},
                                                   {partner_, tr("Partner")},
                                                   {pairFrequencies_, tr("Pair frequencies")},
                                                   {tmMode_, tr("τm")},
                                                   {model_, tr("Model")},
                                                   {criterion_, tr("Selection")},
                                                   {plotList_, tr("Plot")},
                                                   {noDecays_, tr("Intensity decays")},
                                                   {bond_, tr("Bond")},
                                                   {ensemble_, tr("Ensemble vectors")},
                                                   {diffusion_, tr("Diffusion tensor")},
                                                   {structureName_, tr("Structure file")},
                                                   {tensor_, tr("Diffusion tensor fitted")},
                                                   {table_, tr("Results per residue")},
                                                   {stage_, tr("Stage of the fit")},
                                                   {status_, tr("Protein status")},
                                                   {tm_, tr("τm fixed at")},
                                                   {progress_, tr("Fit progress")}};
    for (const auto& [control, name] : spoken) SetSpokenName(*control, name);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FileButtons());
    layout->addWidget(SpinSystemRow());
    layout->addWidget(SettingsRow());
    layout->addWidget(StructureRow());
    layout->addWidget(RunRow());
    layout->addWidget(ResultsArea(), 1);
    layout->addWidget(status_);
    ShowRunning(false);
    resize(1100, 720);
}

ProteinWindow::~ProteinWindow() = default;

QWidget* ProteinWindow::FileButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    QPushButton* openData = Button(tr("Open &data…"), "proteinOpenData", row);
    QPushButton* openProject = Button(tr("&Open project…"), "proteinOpenProject", row);
    QPushButton* saveProject = Button(tr("&Save project…"), "proteinSaveProject", row);
    QPushButton* exportResults = Button(tr("&Export results…"), "proteinExport", row);
    auto* exportMenu = new QMenu(exportResults);
    exportMenu->addAction(tr("Full precision…"), this, [this] { Q_EMIT exportRequested(false); });
    exportMenu->addAction(tr("Rounded to the errors' digits…"), this,
                          [this] { Q_EMIT exportRequested(true); });
    exportResults->setMenu(exportMenu);
    connect(openData, &QPushButton::clicked, this, &ProteinWindow::openDataRequested);
    connect(openProject, &QPushButton::clicked, this, &ProteinWindow::openProjectRequested);
    connect(saveProject, &QPushButton::clicked, this, &ProteinWindow::saveProjectRequested);
    connect(saveStructure_, &QPushButton::clicked, this, &ProteinWindow::saveStructureRequested);
    for (QPushButton* button : {openData, openProject, saveProject, exportResults, saveStructure_})
        layout->addWidget(button);
    layout->addStretch(1);
    return row;
}

QWidget* ProteinWindow::LabelledRow(std::initializer_list<std::pair<QString, QWidget*>> controls) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto& [text, control] : controls) {
        if (!text.isEmpty()) {
            auto* label = new QLabel(text, row);
            label->setBuddy(control);
            layout->addWidget(label);
        }
        layout->addWidget(control);
    }
    layout->addStretch(1);
    return row;
}

QWidget* ProteinWindow::SpinSystemRow() {
    for (QComboBox* list : {nucleus_, partner_, pairFrequencies_})
        connect(list, &QComboBox::currentIndexChanged, this, &ProteinWindow::ReportSettings);
    for (QDoubleSpinBox* box : {distance_, csa_})
        connect(box, &QDoubleSpinBox::valueChanged, this, &ProteinWindow::ReportSettings);
    return LabelledRow({{tr("N&ucleus:"), nucleus_},
                        {tr("Par&tner:"), partner_},
                        {tr("D&istance:"), distance_},
                        {tr("CS&A:"), csa_},
                        {tr("Pair fre&quencies:"), pairFrequencies_}});
}

QWidget* ProteinWindow::SettingsRow() {
    for (QComboBox* list : {tmMode_, model_, criterion_})
        connect(list, &QComboBox::currentIndexChanged, this, &ProteinWindow::ReportSettings);
    for (QDoubleSpinBox* box : {tm_, rexField_})
        connect(box, &QDoubleSpinBox::valueChanged, this, &ProteinWindow::ReportSettings);
    connect(monteCarloSets_, &QSpinBox::valueChanged, this, &ProteinWindow::ReportSettings);
    return LabelledRow({{tr("&τm:"), tmMode_},
                        {QString(), tm_},
                        {tr("&Model:"), model_},
                        {tr("Se&lection:"), criterion_},
                        {tr("Monte &Carlo sets:"), monteCarloSets_},
                        {tr("&Rex at:"), rexField_}});
}

QWidget* ProteinWindow::StructureRow() {
    for (QComboBox* list : {ensemble_, diffusion_})
        connect(list, &QComboBox::currentIndexChanged, this, &ProteinWindow::ReportSettings);
    connect(bond_, &QLineEdit::editingFinished, this, &ProteinWindow::ReportSettings);
    connect(openStructure_, &QPushButton::clicked, this, &ProteinWindow::openStructureRequested);
    return LabelledRow({{QString(), openStructure_},
                        {QString(), structureName_},
                        {tr("&Bond:"), bond_},
                        {tr("Ensemble &vectors:"), ensemble_},
                        {tr("Diffusion te&nsor:"), diffusion_}});
}

QWidget* ProteinWindow::RunRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fit_);
    layout->addWidget(cancel_);
    layout->addWidget(progress_, 1);
    layout->addWidget(stage_, 2);
    // Fit keeps its size while the progress is hidden.
    layout->addStretch(0);
    connect(fit_, &QPushButton::clicked, this, &ProteinWindow::fitRequested);
    connect(cancel_, &QPushButton::clicked, this, &ProteinWindow::cancelRequested);
    return row;
}

QWidget* ProteinWindow::ResultsArea() {
    auto* splitter = new QSplitter(Qt::Vertical, this);
    sorted_->setSourceModel(results_);
    table_->setObjectName("proteinResults");
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ProteinWindow::ReportChosenRow);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, &ProteinWindow::ShowRowMenu);
    auto* plotArea = new QWidget(splitter);
    auto* plotLayout = new QVBoxLayout(plotArea);
    plotLayout->setContentsMargins(0, 0, 0, 0);
    auto* chooser = new QHBoxLayout;
    auto* label = new QLabel(tr("&Plot:"), plotArea);
    label->setBuddy(plotList_);
    chooser->addWidget(label);
    chooser->addWidget(plotList_);
    chooser->addStretch(1);
    plotLayout->addLayout(chooser);
    plot_->setObjectName("proteinPlot");
    decayPlot_->setObjectName("proteinDecayPlot");
    noDecays_->setObjectName("proteinNoDecays");
    noDecays_->setAlignment(Qt::AlignCenter);
    plots_->setMinimumHeight(220);
    for (QWidget* page : {static_cast<QWidget*>(plot_), static_cast<QWidget*>(decayPlot_),
                          static_cast<QWidget*>(noDecays_)}) {
        plots_->addWidget(page);
    }
    tensor_->setObjectName("proteinTensor");
    tensor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    tensor_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tensor_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* beside = new QHBoxLayout;
    beside->addWidget(plots_, 1);
    beside->addWidget(tensor_);
    plotLayout->addLayout(beside, 1);
    connect(plotList_, &QComboBox::currentIndexChanged, this, &ProteinWindow::ShowPlot);
    connect(plot_, &SequencePlotView::chosen, this, &ProteinWindow::ReportChosenPoint);
    splitter->addWidget(table_);
    splitter->addWidget(plotArea);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    return splitter;
}

void ProteinWindow::ShowProject(const ProteinProject& project) {
    project_ = &project;
    {
        const QScopedValueRollback showing(showing_, true);
        const ProteinFitOptions& fit = project.settings.fit;
        shown_ = project.settings;
        const TmMode mode = fit.globalTm        ? TmMode::Global
                            : fit.residue.fitTm ? TmMode::Local
                                                : TmMode::Fixed;
        tmMode_->setCurrentIndex(static_cast<int>(mode));
        const FitSpinSystem& system = fit.residue.system;
        nucleus_->setCurrentText(QString::fromStdString(project.settings.nucleus));
        partner_->setCurrentText(QString::fromStdString(project.settings.partner));
        distance_->setValue(system.neighbours.front().distance);
        csa_->setValue(system.csaPpm);
        pairFrequencies_->setCurrentIndex(system.pairFrequencies == PairFrequencySigns::Signed ? 0
                                                                                               : 1);
        tm_->setValue(fit.residue.tmPs);
        // A tensor fitted from the structure takes tm's place.
        tmMode_->setEnabled(!project.structure);
        tm_->setEnabled(mode == TmMode::Fixed && !project.structure);
        model_->setCurrentIndex(fit.model ? *fit.model + 1 : 0);
        criterion_->setCurrentIndex(static_cast<int>(fit.criterion));
        monteCarloSets_->setValue(fit.monteCarloSets);
        rexField_->setValue(project.settings.rexFieldMHz);
        bond_->setText(QString::fromStdString(BondText(project.settings.bond)));
        ShowEnsemble(project);
        diffusion_->setCurrentIndex(static_cast<int>(project.settings.diffusion));
        diffusion_->setEnabled(project.structure.has_value());
        ShowSpokenText(*structureName_, project.structure
                                            ? QString::fromStdString(project.structure->fileName)
                                            : tr("no structure"));
    }
    const int current =
        table_->currentIndex().isValid() ? sorted_->mapToSource(table_->currentIndex()).row() : -1;
    {
        const QSignalBlocker blocker(table_->selectionModel());
        results_->Show(ResultHeadings(project.settings), ResultRows(project));
    }
    if (current >= 0 && current < results_->rowCount()) SelectResidue(current);
    saveStructure_->setEnabled(project.structure && project.fit && project.fit->diffusion);
    ListPlot(kAnglePlotItem, QString::fromStdString(NameOf(SequenceQuantity::BondAngle)),
             project.structure.has_value());
    ListPlot(kDecayPlotItem, tr("Intensity decays of the selected residue"),
             !project.decays.empty());
    ShowTensor(project);
    ShowPlot();
}

void ProteinWindow::ListPlot(int plot, const QString& name, bool listed) {
    const int at = plotList_->findData(plot);
    if (listed == (at >= 0)) return;
    const QSignalBlocker blocker(plotList_);
    if (listed) {
        int before = 0;
        while (before < plotList_->count() && plotList_->itemData(before).toInt() < plot) ++before;
        plotList_->insertItem(before, name, plot);
        return;
    }
    if (plotList_->currentIndex() == at) plotList_->setCurrentIndex(0);
    plotList_->removeItem(at);
}

void ProteinWindow::ShowEnsemble(const ProteinProject& project) {
    const int models = project.structure ? project.structure->bonds.models : 1;
    QStringList items;
    for (int model = 1; model <= models; ++model) items << tr("Model %1").arg(model);
    if (models > 1) items << tr("Average of %1 models").arg(models);
    QStringList shown;
    for (int item = 0; item < ensemble_->count(); ++item) shown << ensemble_->itemText(item);
    if (shown != items) {
        ensemble_->clear();
        ensemble_->addItems(items);
    }
    const BondSelection& bond = project.settings.bond;
    int current = 0;
    if (models > 1) current = bond.averageModels ? models : std::clamp(bond.model, 1, models) - 1;
    ensemble_->setCurrentIndex(current);
    ensemble_->setEnabled(models > 1);
}

void ProteinWindow::ShowTensor(const ProteinProject& project) {
    const bool fitted = project.fit && project.fit->diffusion;
    tensor_->setVisible(fitted);
    ShowSpokenText(*tensor_, fitted ? QString::fromStdString(TensorSummary(
                                          *project.fit->diffusion, project.settings.fit.criterion))
                                    : QString());
}

void ProteinWindow::ShowPlot() {
    if (!project_) return;
    const int plot = plotList_->currentData().toInt();
    if (plot == kDecayPlotItem) {
        ShowDecays();
        return;
    }
    shownPlot_ = PlotOf(*project_, static_cast<SequenceQuantity>(plot));
    plot_->setPlot(shownPlot_);
    plots_->setCurrentWidget(plot_);
}

void ProteinWindow::ShowDecays() {
    if (!project_ || plotList_->currentData().toInt() != kDecayPlotItem) return;
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) {
        ShowSpokenText(*noDecays_,
                       tr("Select a residue in the table to see its intensity decays."));
        plots_->setCurrentWidget(noDecays_);
        return;
    }
    const int residue = sorted_->mapToSource(current).row();
    DecayPlot plot = DecayPlotOf(*project_, static_cast<std::size_t>(residue));
    if (plot.curves.empty()) {
        const std::string& name =
            project_->data.residues[static_cast<std::size_t>(residue)].residue;
        ShowSpokenText(*noDecays_,
                       tr("Residue %1 has no intensity decays.").arg(QString::fromStdString(name)));
        plots_->setCurrentWidget(noDecays_);
        return;
    }
    decayPlot_->setSource(FigureSource(
        [plot = std::move(plot)](double width, double height, const TextWidth& textWidth) {
            return LayOutDecayPlot(plot, width, height, textWidth);
        }));
    plots_->setCurrentWidget(decayPlot_);
}

void ProteinWindow::ShowRunning(bool running) {
    fit_->setEnabled(!running);
    cancel_->setVisible(running);
    progress_->setVisible(running);
    stage_->setVisible(running);
    if (!running) progress_->setValue(0);
}

void ProteinWindow::ShowProgress(const QString& stage, double share) {
    progress_->setValue(static_cast<int>(share * progress_->maximum()));
    ShowSpokenText(*stage_, stage);
}

void ProteinWindow::ShowStatus(const QString& text) { ShowSpokenText(*status_, text); }

void ProteinWindow::SelectResidue(int residue) {
    const QModelIndex at = sorted_->mapFromSource(results_->index(residue, 0));
    if (!at.isValid()) return;
    const QSignalBlocker blocker(table_->selectionModel());
    table_->selectionModel()->setCurrentIndex(
        at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->scrollTo(at);
    ShowDecays();
}

void ProteinWindow::ReportSettings() {
    if (showing_) return;
    ProteinSettings settings = shown_;
    ProteinFitOptions& fit = settings.fit;
    const auto mode = static_cast<TmMode>(tmMode_->currentIndex());
    fit.globalTm = mode == TmMode::Global;
    fit.residue.fitTm = mode == TmMode::Local;
    fit.residue.tmPs = tm_->value();
    FitSpinSystem& system = fit.residue.system;
    settings.nucleus = nucleus_->currentText().toStdString();
    settings.partner = partner_->currentText().toStdString();
    system.centralGamma = *GammaOf(settings.nucleus);
    system.neighbours.front().gamma = *GammaOf(settings.partner);
    // In single precision, as a model in the window and --fit's option hold it.
    system.neighbours.front().distance =
        static_cast<double>(static_cast<float>(distance_->value()));
    system.csaPpm = csa_->value();
    system.pairFrequencies = pairFrequencies_->currentIndex() == 0 ? PairFrequencySigns::Signed
                                                                   : PairFrequencySigns::Magnitudes;
    tm_->setEnabled(mode == TmMode::Fixed && !(project_ && project_->structure));
    fit.model =
        model_->currentIndex() > 0 ? std::optional(model_->currentIndex() - 1) : std::nullopt;
    fit.criterion = static_cast<Criterion>(criterion_->currentIndex());
    fit.monteCarloSets = monteCarloSets_->value();
    settings.rexFieldMHz = rexField_->value();
    if (const auto bond = BondNamed(bond_->text().trimmed().toStdString())) {
        settings.bond.from = bond->from;
        settings.bond.to = bond->to;
    } else {
        bond_->setText(QString::fromStdString(BondText(settings.bond)));
    }
    // Without an ensemble the list says model 1 and the model chosen stays for the next one.
    if (ensemble_->isEnabled()) {
        const int chosen = ensemble_->currentIndex();
        settings.bond.averageModels = chosen == ensemble_->count() - 1;
        settings.bond.model = settings.bond.averageModels ? 1 : chosen + 1;
    }
    settings.diffusion = static_cast<DiffusionChoice>(diffusion_->currentIndex());
    shown_ = settings;
    Q_EMIT settingsEdited(settings);
}

void ProteinWindow::ReportChosenRow() {
    ShowDecays();
    const QModelIndex current = table_->currentIndex();
    if (current.isValid()) Q_EMIT residueChosen(sorted_->mapToSource(current).row());
}

void ProteinWindow::ReportChosenPoint(int point) {
    if (!project_ || point < 0 || point >= static_cast<int>(shownPlot_.points.size())) return;
    const auto residue =
        project_->ResidueNamed(shownPlot_.points[static_cast<std::size_t>(point)].residue);
    if (!residue) return;
    SelectResidue(static_cast<int>(*residue));
    Q_EMIT residueChosen(static_cast<int>(*residue));
}

void ProteinWindow::ShowRowMenu(const QPoint& at) {
    const QModelIndex index = table_->indexAt(at);
    if (!index.isValid() || !project_) return;
    const int residue = sorted_->mapToSource(index).row();
    const auto choice =
        project_->choices.find(project_->data.residues[static_cast<std::size_t>(residue)].residue);
    QMenu menu(this);
    QAction* restore =
        menu.addAction(tr("Select the model again by %1").arg(criterion_->currentText()));
    restore->setEnabled(choice != project_->choices.end() && choice->second.model);
    connect(restore, &QAction::triggered, this,
            [this, residue] { Q_EMIT selectionRestored(residue); });
    menu.exec(table_->viewport()->mapToGlobal(at));
}

void ProteinWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ProteinWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        // The name's bytes, not Qt's reading of them, which loses a name that is not UTF-8.
        if (url.isLocalFile()) {
            paths << NameFromNative(
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
        }
    }
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    Q_EMIT filesDropped(paths);
}

}  // namespace veldorin
