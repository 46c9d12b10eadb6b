#include "window/modeling.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QWindowStateChangeEvent>

#include "ui/design_palette.h"
#include "window/drawn_surface.h"
#include "ui/entry_rules.h"
#include "window/graph_canvas.h"
#include "ui/event_hooks.h"
#include "window/layout.h"
#include "window/lorentzian_entry.h"
#include "window/graph_interaction.h"
#include "window/help_panels.h"
#include "help/help_text.h"
#include "help/hover_help.h"
#include "window/layout.h"
#include "window/options_panel.h"
#include "ui/pointer_router.h"
#include "window/results_list.h"
#include "window/run_report.h"
#include "spins/spin_diagram.h"
#include "spins/spin_editors.h"
#include "window/table_writer.h"
#include "window/word_mark.h"
#include "storage/working_directory.h"
#include "storage/working_directory_settler.h"

namespace veldorin {

namespace {

const QString kCaption = QStringLiteral(
    "VELDORIN - Calculating Spectral Density Functions & NMR Relaxation Parameters");

std::string TextOf(const QLineEdit* box) { return box->text().toStdString(); }

}  // namespace

Modeling::Modeling(QWidget* parent)
    : QMainWindow(parent),
      scale_(TwipScale::OfPrimaryScreen()),
      clientArea_(new DrawnSurface(scale_, this)),
      controls_(ControlSet::Build(scale_, *clientArea_)),
      options_(controls_.Get<OptionsPanel>("Frame1(0)")),
      spins_(controls_.Get<SpinDiagram>("SpinDiagram")),
      combo2_(controls_.Get<QComboBox>("Combo2")),
      combo4_(controls_.Get<QComboBox>("Combo4")),
      command1_(controls_.Get<QPushButton>("Command1")),
      command3_(controls_.Get<QPushButton>("Command3")),
      text3_(controls_.Get<QLineEdit>("Text3")),
      list3_(controls_.Get<ResultsList>("List3")),
      picture1_(controls_.Get<GraphCanvas>("Picture1")),
      wordMark_(new WordMark(scale_, clientArea_)),
      router_(new PointerRouter(this)),
      keys_(new EventHooks(this)),
      help_(std::make_unique<HelpPanels>(scale_, controls_.Get<QListWidget>("List1"),
                                         controls_.Find("Picture2"),
                                         controls_.Get<QListWidget>("List2"))),
      graph_(std::make_unique<GraphInteraction>(scale_, picture1_, combo4_,
                                                controls_.Get<QLabel>("Label3(1)"),
                                                controls_.Get<QLabel>("Label3(2)"))),
      report_(std::make_unique<RunReport>(*list3_, *controls_.Get<QLabel>("RunStatus"))) {
    setWindowTitle(kCaption);
    setPalette(DesignPalette());
    clientArea_->setObjectName(QStringLiteral("Form"));
    clientArea_->setFixedSize(scale_.Rect(0, 0, kClientArea.width, kClientArea.height).size());
    clientArea_->setFont(DesignFont(kNormalPoints));
    QPalette palette = DesignPalette();
    palette.setColor(QPalette::Window, ToQColor(kFormBack));
    clientArea_->setPalette(palette);
    clientArea_->setAutoFillBackground(true);
    setCentralWidget(clientArea_);
    // The client area keeps its designed size; the window follows it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (int i = 0; i < kLorentzianCount; ++i) {
        weights_[i] = controls_.Get<QLineEdit>(Element("Text7", i));
        normalised_[i] = controls_.Get<QLineEdit>(Element("Text5", i));
        times_[i] = controls_.Get<QLineEdit>(Element("Text8", i));
    }
    combo1_[1] = controls_.Get<QComboBox>("Combo1(1)");
    combo1_[2] = controls_.Get<QComboBox>("Combo1(2)");
    // The word mark's letters were added after the table: the pop-up panels go back on top.
    for (const std::string& panel : PopUpPanels()) controls_.Find(panel)->raise();

    BuildMenus();
    ConnectHandlers();
    RoutePointer();
    SetTabOrder();
}

// The controls die after the window's own parts. One that loses the keyboard on the
// way may still signal (an edited Rex or CSA box whose text names another item reports
// that item as chosen), and no handler may run on a window that is half gone.
Modeling::~Modeling() {
    for (QObject* child : findChildren<QObject*>()) {
        for (const QObject* receiver : {static_cast<const QObject*>(this),
                                        static_cast<const QObject*>(spinEditors_)}) {
            QObject::disconnect(child, nullptr, receiver, nullptr);
        }
    }
}

void Modeling::BuildMenus() {
    // The four items open their panels; they have no sub-items.
    struct Item {
        const char* name;
        QString text;
        void (Modeling::*handler)();
    };
    const std::array<Item, 4> items{{
        {"Options", QStringLiteral("&Options"), &Modeling::Options_Click},
        {"Theory", QStringLiteral("&Theory"), &Modeling::Theory_Click},
        {"h", QStringLiteral("Help"), &Modeling::h_Click},
        {"About_", QStringLiteral("About"), &Modeling::About__Click},
    }};
    for (const auto& [name, text, handler] : items) {
        QAction* action = menuBar()->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    }
}

void Modeling::ConnectHandlers() {
    connect(command1_, &QPushButton::clicked, this, &Modeling::Command1_Click);
    connect(command3_, &QPushButton::clicked, this, &Modeling::Command3_Click);
    for (const int index : {1, 2}) {
        connect(combo1_[index], &QComboBox::activated, this, [this, index] { Combo1_Click(index); });
        // A key released in the box does what a choice from its list does.
        keys_->OnKeyRelease(combo1_[index], [this, index] { Combo1_Click(index); });
    }
    spinEditors_ = new SpinEditors(
        {*spins_, *controls_.Get<QComboBox>("Combo3"), *controls_.Get<QLineEdit>("Text42(0)"),
         *controls_.Get<QLineEdit>("Text42(8)")},
        {[this] { PlotMol(); }, [this] { Recalculate(); }}, *keys_);
    lorentzians_ = std::make_unique<LorentzianEntry>(weights_, times_, *keys_,
                                                     [this] { Recalculate(); });
    connect(combo2_, &QComboBox::activated, this, &Modeling::Combo2_Click);
    connect(combo4_, &QComboBox::activated, this, &Modeling::Combo4_Click);
    auto* axisCaption = controls_.Get<QLabel>("Label3(14)");
    connect(picture1_, &GraphCanvas::axisCaptionChanged, axisCaption, &QLabel::setText);
    connect(picture1_, &GraphCanvas::clicked, this, &Modeling::Picture1_Click);
}

// Every enabled control keeps the pointer moves over it; the hover handlers of the
// controls go here. Moves over a disabled control belong to its parent.
void Modeling::RoutePointer() {
    for (QWidget* control : controls_.pointerTargets()) {
        if (control->isEnabled()) router_->Absorb(control);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        router_->Absorb(spins_->nucleusBox(slot));
        router_->Absorb(spins_->abundanceLabel(slot));
        if (slot < kNeighbourCount) router_->Absorb(spins_->distanceLabel(slot));
    }
    router_->SetHandler(clientArea_, [this](QPointF) { Form_MouseMove(); });
    router_->SetHandler(controls_.Find("Frame1(0)"), [this](QPointF) { Frame1_MouseMove(0); });
    router_->SetHandler(controls_.Find("Frame1(1)"), [this](QPointF) { Frame1_MouseMove(1); });
    for (const HoverTopic& topic : HoverTopics()) {
        router_->SetHandler(controls_.Find(topic.objectName),
                            [this, title = topic.title](QPointF) { ShowHelpSection(title); });
    }
    for (int letter = 0; letter < WordMark::kLetterCount; ++letter) {
        router_->SetHandler(wordMark_->letter(letter),
                            [this, letter](QPointF) { Label16_MouseMove(letter); });
    }
    router_->SetHandler(picture1_, [this](QPointF position) { Picture1_MouseMove(position); });
}

void Modeling::SetTabOrder() {
    std::vector<QWidget*> order{combo4_, command1_, combo2_, command3_};
    for (int i = 0; i < kLorentzianCount; ++i) {
        order.push_back(weights_[i]);
        order.push_back(times_[i]);
    }
    for (const char* rest : {"Combo1(1)", "Combo1(2)", "Combo3", "Text42(0)", "Text42(8)",
                             "List3", "List1", "Text3", "Dir1", "List2"}) {
        order.push_back(controls_.Find(rest));
    }
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    for (int i = 0; i < 2; ++i) controls_.Find(Element("Text4", i))->setFocusPolicy(Qt::NoFocus);
}

void Modeling::Form_Load(const StartupPlaces& places) {
    const SettledWorkingDirectory settled = WorkingDirectorySettler(places).Settle();
    options_->UseSettingsFile(SettingsFile(settled.settingsFilePath));
    options_->ShowWorkingDirectory(settled.workingDirectory);
    // Nothing depends on the current directory: "table.dat" is named in full.
    EnterWorkingDirectory(options_->WorkingDirectory());
    SelectStartItem(combo1_[1], 0, [this] { Combo1_Click(1); });
    SelectStartItem(combo1_[2], 1, [this] { Combo1_Click(2); });
    SelectStartItem(combo4_, 2, [this] { Combo4_Click(); });
    show();
    SelectStartItem(combo2_, 0, [this] { Combo2_Click(); });
    wordMark_->Start();
}

// A selection made by the program runs the list's handler, as a choice of the user does.
void Modeling::SelectStartItem(QComboBox* list, int index, const std::function<void()>& handler) {
    list->setCurrentIndex(index);
    handler();
}

void Modeling::PlotMol() { spins_->ShowNeighbours(); }

ModelTexts Modeling::ReadModel() const {
    ModelTexts model;
    for (int slot = 0; slot < kSlotCount; ++slot) model.slots[slot] = spins_->Slot(slot);
    for (int i = 0; i < kLorentzianCount; ++i) {
        model.weights[i] = TextOf(weights_[i]);
        model.times[i] = TextOf(times_[i]);
    }
    model.csa = combo1_[2]->currentText().toStdString();
    model.rex = combo1_[1]->currentText().toStdString();
    model.tableModeCaption = command1_->text().toStdString();
    model.workingDirectory = TextOf(text3_);
    return model;
}

GraphSettings Modeling::ReadGraphSettings() const {
    GraphSettings settings;
    settings.plotMode = combo4_->currentIndex();
    settings.arrayOn = command3_->text() == QStringLiteral("off");
    settings.arrayParameter = combo2_->currentIndex();
    const QSizeF size = picture1_->sizeInTwips();
    settings.width = static_cast<float>(size.width());
    settings.height = static_cast<float>(size.height());
    return settings;
}

void Modeling::Recalculate() {
    PlotMol();
    if (!isVisible()) return;
    const std::uint64_t run = ++runCount_;
    Q_EMIT runStarted();

    const ModelTexts model = ReadModel();
    TableWriter sink(*list3_, QString::fromStdString(TableFilePath(model.workingDirectory)));
    const TablePhase table = recalculation_.RunTable(model, ReadGraphSettings(), sink);
    if (table.weightTexts) {
        for (int i = 0; i < kLorentzianCount; ++i) {
            normalised_[i]->setText(QString::fromStdString((*table.weightTexts)[i]));
        }
    }
    picture1_->Replay(table.commands);
    switch (table.outcome.status) {
        case RunOutcome::Status::Failed: report_->TableFailed(*table.outcome.failure); return;
        case RunOutcome::Status::Stopped: return;
        case RunOutcome::Status::Completed: report_->TableCompleted(); break;
    }

    // The table and the markers show before the curves are drawn. Handlers may run
    // here; one that recalculated has already drawn the current picture from the
    // current inputs, and this run's curves would only paint over it.
    QCoreApplication::processEvents();
    if (run != runCount_) return;

    Q_EMIT curvesStarted();
    const CurvePhase curves = recalculation_.RunCurves(ReadModel(), ReadGraphSettings());
    if (curves.rangeTexts) {
        controls_.Get<QLineEdit>("Text4(1)")->setText(QString::fromStdString(curves.rangeTexts->first));
        controls_.Get<QLineEdit>("Text4(0)")->setText(QString::fromStdString(curves.rangeTexts->second));
    }
    picture1_->Replay(curves.commands);
    if (curves.outcome.status == RunOutcome::Status::Failed) {
        report_->CurvesFailed(*curves.outcome.failure);
    }
}

void Modeling::PlaceTwips(QWidget* widget, int left, int top, int width, int height) const {
    widget->setGeometry(scale_.Rect(left, top, width, height));
}

void Modeling::ResetPanels() {
    for (const char* name : {"Text42(8)", "Picture2", "Combo3", "Text42(0)", "Frame1(0)"}) {
        controls_.Find(name)->hide();
    }
    combo4_->move(scale_.Point(kGraphOptionPlace.left, kGraphOptionPlace.top));
    PlaceTwips(picture1_, kGraphPlace.left, kGraphPlace.top, kGraphPlace.width,
               kGraphPlace.height);
    help_->RestoreHelpList();
    controls_.Find("List2")->hide();
    if (pik_ == 1) {
        pik_ = 0;
        QCoreApplication::processEvents();
        Recalculate();
    }
}

void Modeling::Command1_Click() {
    const TableMode mode = TableModeFromCaption(command1_->text().toStdString());
    const std::string_view next = mode == TableMode::Rates ? kTimesCaption : kRatesCaption;
    command1_->setText(QString::fromLatin1(next.data(), static_cast<qsizetype>(next.size())));
    Recalculate();
}

void Modeling::Command3_Click() {
    const bool switchingOn = command3_->text() == QStringLiteral("on");
    command3_->setText(switchingOn ? QStringLiteral("off") : QStringLiteral("on"));
    for (const char* name : {"Text4(1)", "Text4(0)", "Label3(6)", "Combo2"}) {
        controls_.Find(name)->setVisible(switchingOn);
    }
    Recalculate();
}

void Modeling::Combo1_Click(int index) {
    Enforce(kRexCsaRule, *combo1_[index]->lineEdit());
    Recalculate();
}

void Modeling::Combo2_Click() { Recalculate(); }

void Modeling::Combo4_Click() { Recalculate(); }

void Modeling::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Minimising is no resize the user sees: a still mark waits for the restore.
    if (!isMinimized()) wordMark_->Enable();
}

void Modeling::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (change->oldState().testFlag(Qt::WindowMinimized) && !isMinimized()) wordMark_->Enable();
}

}  // namespace veldorin
