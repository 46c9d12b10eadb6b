// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QWindowStateChangeEvent>

#include "files/native_name.h"
#include "graph_panel/drawn_surface.h"
#include "graph_panel/graph_canvas.h"
#include "graph_panel/graph_export_menu.h"
#include "graph_panel/graph_interaction.h"
#include "help/help_text.h"
#include "help/theory_page.h"
#include "measurements/measurements_controller.h"
#include "measurements/measurements_window.h"
#include "motion/motion_controller.h"
#include "motion/motion_window.h"
#include "options/directory_list.h"
#include "options/options_panel.h"
#include "protein_window/opened_file_kind.h"
#include "protein_window/protein_controller.h"
#include "protein_window/protein_window.h"
#include "results/results_list.h"
#include "results/table_export.h"
#include "spins/spin_diagram.h"
#include "spins/spin_editors.h"
#include "storage/working_directory.h"
#include "storage/working_directory_settler.h"
#include "ui/design_palette.h"
#include "ui/entry_rules.h"
#include "ui/event_hooks.h"
#include "ui/pointer_router.h"
#include "ui/winning_keys.h"
#include "window/document_controls.h"
#include "window/help_panels.h"
#include "window/lorentzian_entry.h"
#include "window/main_window_side.h"
#include "window/model_files.h"
#include "window/panel_controller.h"
#include "window/run_course.h"
#include "window/word_mark.h"

namespace veldorin {

namespace {

const QString kCaption =
    QStringLiteral("VELDORIN - Calculating Spectral Density Functions & NMR Relaxation Parameters");

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      scale_(TwipScale::OfPrimaryScreen()),
      clientArea_(new DrawnSurface(scale_, this)),
      controls_(BuildWindowControls(scale_, *clientArea_)),
      wordMark_(new WordMark(scale_, clientArea_)),
      router_(new PointerRouter(this)),
      hooks_(new EventHooks(this)),
      help_(std::make_unique<HelpPanels>(scale_, controls_.helpList, controls_.theoryPage,
                                         controls_.aboutList)),
      graph_(std::make_unique<GraphInteraction>(scale_, controls_.graphCanvas, controls_.plotList,
                                                controls_.verticalReadout,
                                                controls_.horizontalReadout)),
      panels_(std::make_unique<PanelController>(scale_, controls_, *help_, *graph_, state_,
                                                [this] { Recalculate(); })),
      windowSide_(std::make_unique<MainWindowSide>(
          *this, controls_, document_,
          MainWindowSide::Tools{[this](const MotionFitResult& result) {
                                    ShowDocument(document_, controls_);
                                    measurementsController_->ShowFitResult(result);
                                    motionController_->Show();
                                },
                                [this](const Comparisons& comparisons) {
                                    measurementsController_->ShowComparisons(comparisons);
                                }})),
      runCourse_(new RunCourse(*windowSide_)),
      modelFiles_(new ModelFiles(
          *this, kCaption, document_, [this] { ShowModel(); }, [this] { Recalculate(); })),
      motionWindow_(new MotionWindow(this)),
      // A motion of another kind frees other parameters in the Measurements window.
      motionController_(new MotionController(
          *motionWindow_, document_, [this] { measurementsController_->Show(); },
          [this] {
              ShowDocument(document_, controls_);
              Recalculate();
          })),
      measurementsWindow_(new MeasurementsWindow(this)),
      measurementsController_(
          new MeasurementsController(*measurementsWindow_, document_, [this] { ShowToolEdit(); })),
      proteinWindow_(new ProteinWindow(this)),
      proteinController_(new ProteinController(
          *proteinWindow_,
          {[this]() -> const ModelDocument& { return document_; },
           [this](ModelDocument document) { return ShowResidueDocument(std::move(document)); }})) {
    NameOtherParts(*this, *clientArea_, controls_, *wordMark_);
    setWindowTitle(kCaption);
    setPalette(DesignPalette());
    clientArea_->setFixedSize(scale_.Rect(kClientArea).size());
    clientArea_->setFont(DesignFont(kNormalPoints));
    QPalette palette = DesignPalette();
    palette.setColor(QPalette::Window, ToQColor(kFormBack));
    clientArea_->setPalette(palette);
    clientArea_->setAutoFillBackground(true);
    setCentralWidget(clientArea_);
    // The client area keeps its designed size; the window follows it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    runCourse_->setParent(this);
    // The word mark's letters were made after the table: the pop-up panels go back on top.
    for (QWidget* panel : std::initializer_list<QWidget*>{
             controls_.optionsPanel, controls_.theoryPage, controls_.aboutList}) {
        panel->raise();
    }

    BuildMenus();
    AddWindowKeys();
    AddToolWindowCommands();
    AddModelFileCommands();
    ConnectHandlers();
    RoutePointer();
    SetTabOrder();
    ShowState();
}

// The controls die after the window's own parts. One that loses the keyboard on the
// way may still signal (an edited Rex or CSA box whose text names another item reports
// that item as chosen), and no handler may run on a window that is half gone.
// The tool windows show the document, and their controllers (with the Monte Carlo run)
// act on it and on the controls: they end first, while all of that is whole, each
// controller before its window, so that a cell still being edited, which commits as its
// window goes, finds nothing to act on.
MainWindow::~MainWindow() {
    for (QObject* child : findChildren<QObject*>()) {
        for (const QObject* receiver :
             {static_cast<const QObject*>(this), static_cast<const QObject*>(spinEditors_)}) {
            QObject::disconnect(child, nullptr, receiver, nullptr);
        }
    }
    delete proteinController_;
    delete proteinWindow_;
    delete measurementsController_;
    delete motionController_;
    delete measurementsWindow_;
    delete motionWindow_;
}

void MainWindow::BuildMenus() {
    for (const auto& [objectName, text, panel, key] : MenuTable()) {
        QAction* action = menuBar()->addAction(QString::fromLatin1(text));
        action->setObjectName(QString::fromLatin1(objectName));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, [this, panel] { panels_->Open(panel); });
    }
}

void MainWindow::AddWindowKeys() {
    // Ctrl+Q by itself: not every desktop's key scheme binds the standard Quit key.
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        // What a move over the bare background does: every panel and editor closes.
        {QKeySequence(Qt::Key_Escape), [this] { panels_->BackgroundHovered(); }},
        // The way the window's close button goes.
        {QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); }},
    };
    for (const auto& [key, command] : keys) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, command);
        addAction(action);
    }
}

void MainWindow::AddToolWindowCommands() {
    // The keys work in every window of the program, whatever has the keyboard.
    auto* winningKeys = new WinningKeys(this);
    const auto command = [this, winningKeys](const char* text, QKeySequence key,
                                             void (MainWindow::*open)()) {
        auto* action = new QAction(QString::fromUtf8(text), this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::ApplicationShortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, open);
        addAction(action);
        winningKeys->Add(action);
        return action;
    };
    motionCommand_ =
        command("Motion…", QKeySequence(Qt::CTRL | Qt::Key_M), &MainWindow::OpenMotionWindow);
    measurementsCommand_ = command("Measurements…", QKeySequence(Qt::CTRL | Qt::Key_E),
                                   &MainWindow::OpenMeasurementsWindow);
    proteinCommand_ =
        command("Protein…", QKeySequence(Qt::CTRL | Qt::Key_P), &MainWindow::OpenProteinWindow);
}

void MainWindow::AddModelFileCommands() {
    addActions(modelFiles_->actions());
    const QRect lorentzians = scale_.Rect(kLorentzianArea);
    const auto showMenu = [this](QWidget* on, QPoint at, QList<QAction*> extra) {
        QMenu menu(this);
        menu.addActions(modelFiles_->actions());
        if (!extra.isEmpty()) menu.addSeparator();
        menu.addActions(extra);
        menu.exec(on->mapToGlobal(at));
    };
    controls_.spinFrame->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(controls_.spinFrame, &QWidget::customContextMenuRequested, this,
            [this, showMenu](QPoint at) { showMenu(controls_.spinFrame, at, {}); });
    clientArea_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(clientArea_, &QWidget::customContextMenuRequested, this,
            [this, showMenu, lorentzians](QPoint at) {
                if (lorentzians.contains(at))
                    showMenu(clientArea_, at, {motionCommand_, proteinCommand_});
            });
    setAcceptDrops(true);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    // The name's bytes, not Qt's reading of them, which loses a name that is not UTF-8.
    const QUrl& url = urls.front();
    OpenAnyFile(
        NameFromNative(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())));
}

void MainWindow::ConnectHandlers() {
    connect(runCourse_, &RunCourse::runStarted, this, &MainWindow::runStarted);
    connect(runCourse_, &RunCourse::curvesStarted, this, &MainWindow::curvesStarted);
    connect(runCourse_, &RunCourse::curvesComputed, this, &MainWindow::curvesComputed);
    connect(controls_.tableModeButton, &QPushButton::clicked, this,
            &MainWindow::OnTableModeClicked);
    connect(controls_.arrayButton, &QPushButton::clicked, this, &MainWindow::OnArrayClicked);
    for (QComboBox* box : {controls_.rexBox, controls_.csaBox}) {
        connect(box, &QComboBox::activated, this, [this, box] { OnRexOrCsaEdited(*box); });
        // A key released in the box does what a choice from its list does.
        hooks_->OnKeyRelease(box, [this, box] { OnRexOrCsaEdited(*box); });
        // What the user puts into it without a key (a paste with the pointer) is the model's.
        std::string& text = box == controls_.rexBox ? document_.texts.rex : document_.texts.csa;
        connect(box->lineEdit(), &QLineEdit::textEdited, this,
                [&text](const QString& edited) { text = edited.toStdString(); });
    }
    spinEditors_ = new SpinEditors({*controls_.spinDiagram, *controls_.nucleusMenu,
                                    *controls_.distanceEditor, *controls_.abundanceEditor},
                                   {[this] { controls_.spinDiagram->ShowNeighbours(); },
                                    [this] {
                                        TakeSpinSystem();
                                        Recalculate();
                                    }},
                                   *hooks_);
    lorentzians_ = std::make_unique<LorentzianEntry>(controls_.weightBoxes, controls_.timeBoxes,
                                                     *hooks_, document_, [this] {
                                                         Recalculate();
                                                         motionController_->Show();
                                                     });
    connect(controls_.plotList, &QComboBox::activated, this, &MainWindow::OnPlotChosen);
    connect(controls_.arrayParameterList, &QComboBox::activated, this,
            &MainWindow::OnArrayParameterChosen);
    connect(controls_.graphCanvas, &GraphCanvas::axisCaptionChanged, controls_.axisCaption,
            &QLabel::setText);
    connect(controls_.graphCanvas, &GraphCanvas::clicked, this,
            [this] { panels_->ToggleGraphEnlarged(); });
    connect(controls_.optionsPanel, &OptionsPanel::workingDirectoryNotStored, this,
            [this](const QString& why) {
                QMessageBox::warning(this, QStringLiteral("Options"),
                                     QStringLiteral("The folder is used from now on, but the next "
                                                    "start will not remember it.\n\n") +
                                         why);
            });
    new GraphExportMenu(*controls_.graphCanvas);
    auto* resultsMenu = new TableExportMenu(*controls_.resultsList);
    resultsMenu->AddCommand(measurementsCommand_);
    resultsMenu->AddCommand(proteinCommand_);
}

// Every enabled control keeps the pointer moves over it; the hover handlers of the
// controls go here. Moves over a disabled control belong to its parent.
void MainWindow::RoutePointer() {
    for (QWidget* control : controls_.pointerTargets) {
        if (control->isEnabled()) router_->Absorb(control);
    }
    SpinDiagram& diagram = *controls_.spinDiagram;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        router_->Absorb(diagram.nucleusBox(slot));
        router_->Absorb(diagram.abundanceLabel(slot));
        if (slot < kNeighbourCount) router_->Absorb(diagram.distanceLabel(slot));
    }
    router_->SetHandler(clientArea_, [this](QPointF) { panels_->BackgroundHovered(); });
    router_->SetHandler(controls_.optionsPanel, [this](QPointF) { panels_->FrameHovered(false); });
    router_->SetHandler(controls_.spinFrame, [this](QPointF) { panels_->FrameHovered(true); });
    for (const auto& [control, section] : controls_.helpSections) {
        router_->SetHandler(control,
                            [this, title = section](QPointF) { help_->ShowSection(title); });
    }
    // Every letter of the word mark shows the same line of the introduction.
    for (int letter = 0; letter < WordMark::kLetterCount; ++letter) {
        router_->SetHandler(wordMark_->letter(letter),
                            [this](QPointF) { help_->ShowLine(kHelpWordMarkLine); });
    }
    router_->SetHandler(controls_.graphCanvas,
                        [this](QPointF position) { panels_->GraphHovered(position); });
}

void MainWindow::SetTabOrder() {
    std::vector<QWidget*> order{controls_.plotList, controls_.tableModeButton,
                                controls_.arrayParameterList, controls_.arrayButton};
    for (int row = 0; row < kLorentzianCount; ++row) {
        order.push_back(controls_.weightBoxes[row]);
        order.push_back(controls_.timeBoxes[row]);
    }
    order.push_back(controls_.graphCanvas);
    // The spin system from its centre, then each neighbour clockwise from the upper left.
    const SpinDiagram& diagram = *controls_.spinDiagram;
    order.push_back(diagram.nucleusBox(kCentralSlot));
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        order.insert(order.end(), {diagram.nucleusBox(slot), diagram.distanceLabel(slot),
                                   diagram.abundanceLabel(slot)});
    }
    order.insert(order.end(),
                 std::initializer_list<QWidget*>{
                     controls_.rexBox, controls_.csaBox, controls_.nucleusMenu,
                     controls_.distanceEditor, controls_.abundanceEditor, controls_.resultsList,
                     controls_.helpList, controls_.optionsPanel->directoryBox(),
                     controls_.optionsPanel->directoryList(), controls_.aboutList});
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    controls_.arrayFromBox->setFocusPolicy(Qt::NoFocus);
    controls_.arrayStepBox->setFocusPolicy(Qt::NoFocus);
}

void MainWindow::Start(const StartupPlaces& places, const QString& modelFile) {
    // A name from the command line is relative to the folder the program started in,
    // which the working directory below replaces.
    const QString modelPath =
        modelFile.isEmpty() ? QString() : QFileInfo(modelFile).absoluteFilePath();
    const SettledWorkingDirectory settled = WorkingDirectorySettler(places).Settle();
    OptionsPanel& options = *controls_.optionsPanel;
    options.UseSettingsFile(SettingsFile(settled.settingsFilePath));
    options.ShowWorkingDirectory(settled.workingDirectory);
    // Nothing depends on the current directory: "table.dat" is named in full.
    EnterWorkingDirectory(options.WorkingDirectory());
    SelectStartItem(controls_.rexBox, 0, [this] { OnRexOrCsaEdited(*controls_.rexBox); });
    SelectStartItem(controls_.csaBox, 1, [this] { OnRexOrCsaEdited(*controls_.csaBox); });
    SelectStartItem(controls_.plotList, 2, [this] { OnPlotChosen(); });
    show();
    SelectStartItem(controls_.arrayParameterList, 0, [this] { OnArrayParameterChosen(); });
    wordMark_->Start();
    if (!modelPath.isEmpty()) OpenAnyFile(modelPath);
}

void MainWindow::SelectStartItem(QComboBox* list, int index, const std::function<void()>& handler) {
    list->setCurrentIndex(index);
    handler();
}

void MainWindow::Recalculate() {
    runCourse_->Run();
    modelFiles_->ShowWhetherModified();
    proteinController_->DocumentChanged();
}

void MainWindow::OpenAnyFile(const QString& path) {
    switch (KindOfFile(path)) {
        case OpenedFileKind::Model: modelFiles_->OpenAndReport(path); break;
        case OpenedFileKind::ProteinProject: proteinController_->OpenProject(path); break;
        case OpenedFileKind::ProteinData: proteinController_->OpenData({path}); break;
    }
}

bool MainWindow::ShowResidueDocument(ModelDocument document) {
    if (!modelFiles_->MayLeaveModel()) return false;
    modelFiles_->LeaveFile();
    document_ = std::move(document);
    ShowModel();
    Recalculate();
    // Its rows beside the model, without taking the keyboard from the Protein window.
    if (measurementsWindow_->isHidden()) {
        OpenMeasurementsWindow();
        proteinWindow_->activateWindow();
    }
    return true;
}

void MainWindow::OnTableModeClicked() {
    TableMode& mode = document_.texts.tableMode;
    mode = mode == TableMode::Rates ? TableMode::Times : TableMode::Rates;
    ShowState();
    Recalculate();
}

void MainWindow::OnArrayClicked() {
    document_.arrayOn = !document_.arrayOn;
    ShowState();
    Recalculate();
}

void MainWindow::OnPlotChosen() {
    if (const auto mode = PlotModeAt(controls_.plotList->currentIndex())) {
        document_.plotMode = *mode;
    }
    Recalculate();
}

void MainWindow::OnArrayParameterChosen() {
    if (const auto parameter = ArrayParameterAt(controls_.arrayParameterList->currentIndex())) {
        document_.arrayParameter = *parameter;
    }
    Recalculate();
}

void MainWindow::TakeSpinSystem() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        document_.texts.slots[slot] = controls_.spinDiagram->Slot(slot);
    }
}

void MainWindow::ShowModel() {
    proteinController_->DocumentReplaced();
    ShowDocument(document_, controls_);
    ShowState();
}

void MainWindow::ShowToolEdit() {
    ShowDocument(document_, controls_);
    motionController_->Show();
    Recalculate();
}

void MainWindow::ShowState() {
    const TableMode mode = document_.texts.tableMode;
    controls_.tableModeButton->setText(QLatin1String(TableModeCaption(mode)));
    controls_.arrayButton->setText(QLatin1String(ArrayCaption(document_.arrayOn)));
    controls_.tableModeButton->setAccessibleDescription(QLatin1String(TableModeDescription(mode)));
    controls_.arrayButton->setAccessibleDescription(
        QLatin1String(ArrayDescription(document_.arrayOn)));
    for (QWidget* arrayControl : std::initializer_list<QWidget*>{
             controls_.arrayFromBox, controls_.arrayStepBox, controls_.arrayRangeCaption,
             controls_.arrayParameterList}) {
        arrayControl->setVisible(document_.arrayOn);
    }
    motionController_->Show();
    measurementsController_->Show();
}

void MainWindow::OpenMotionWindow() { motionController_->Open(); }

void MainWindow::OpenMeasurementsWindow() { measurementsController_->Open(); }

void MainWindow::OpenProteinWindow() { proteinController_->Open(); }

void MainWindow::OnRexOrCsaEdited(QComboBox& box) {
    Enforce(kRexCsaRule, *box.lineEdit());
    (&box == controls_.rexBox ? document_.texts.rex : document_.texts.csa) =
        box.currentText().toStdString();
    Recalculate();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (modelFiles_->MayLeaveModel() && proteinController_->MayLeaveProject()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    wordMark_->Enable();
}

// Minimising and restoring resize the window as far as the word mark is concerned, even
// where the toolkit sends no resize: the mark's timer runs on, slowly while minimised.
void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (change->oldState().testFlag(Qt::WindowMinimized) != isMinimized()) wordMark_->Enable();
}

}  // namespace veldorin
