// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/layout.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <typeinfo>

#include "engine/model.h"
#include "graph/plot_mode.h"
#include "graph_panel/drawn_surface.h"
#include "graph_panel/graph_canvas.h"
#include "help/help_text.h"
#include "help/theory_page.h"
#include "options/directory_list.h"
#include "options/options_panel.h"
#include "results/results_list.h"
#include "run_phases/array_mode.h"
#include "spins/spin_diagram.h"
#include "window/word_mark.h"

namespace veldorin {

namespace {

// The items of a list whose table names them.
template <typename Row, std::size_t Count>
std::vector<std::string> ListItems(const std::array<Row, Count>& table, const char* Row::*text) {
    std::vector<std::string> items;
    for (const Row& row : table) items.emplace_back(row.*text);
    return items;
}

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kButtonFace{192, 192, 192};
constexpr double kArrayPoints = 12.0;
constexpr double kResultsPoints = 13.5;
constexpr double kStatusPoints = 6.75;

// The tops of the six Lorentzian rows, and the lefts and width of their three columns.
constexpr std::array<int, kLorentzianCount> kRowTops{3600, 3870, 4140, 4380, 4620, 4860};
constexpr int kWeightLeft = 610;
constexpr int kNormalisedLeft = 1320;
constexpr int kTimeLeft = 2025;
constexpr int kBoxWidth = 720;
constexpr int kBoxHeight = 285;

// The widget the table made for a member of the wrong type is a fault of the table: it
// shows when the window is built, which every window test does.
template <class Widget>
Widget* Typed(QWidget* widget) {
    auto* typed = dynamic_cast<Widget*>(widget);
    if (typed == nullptr)
        qFatal("layout table: %s is no %s", qPrintable(widget->objectName()),
               typeid(Widget).name());
    return typed;
}

template <class Widget>
StoreControl Into(Widget* WindowControls::*member) {
    return [member](WindowControls& controls, QWidget* widget) {
        controls.*member = Typed<Widget>(widget);
    };
}

template <class Widget, std::size_t N>
StoreControl Into(std::array<Widget*, N> WindowControls::*column, int row) {
    return [column, row](WindowControls& controls, QWidget* widget) {
        (controls.*column)[static_cast<std::size_t>(row)] = Typed<Widget>(widget);
    };
}

Look Heading(Paint text = {}, Paint back = {}, bool italic = false) {
    return {.points = kHeadingPoints, .italic = italic, .text = text, .back = back};
}

Look SpacedHeading(Paint text = {}, Paint back = {}) {
    Look look = Heading(text, back);
    look.spacedWords = true;
    return look;
}

ControlSpec Label(std::string objectName, TwipRect place, std::string text, Look look,
                  Parent parent = Parent::ClientArea) {
    return {.objectName = std::move(objectName),
            .kind = ControlKind::Label,
            .parent = parent,
            .place = place,
            .text = std::move(text),
            .look = look};
}

ControlSpec DisabledLabel(std::string objectName, TwipRect place, std::string text, Look look) {
    ControlSpec entry = Label(std::move(objectName), place, std::move(text), look);
    entry.enabled = false;
    return entry;
}

ControlSpec Button(std::string objectName, TwipRect place, std::string text, Spoken spoken,
                   StoreControl store) {
    return {.objectName = std::move(objectName),
            .kind = ControlKind::Button,
            .place = place,
            .text = std::move(text),
            .spoken = std::move(spoken),
            .look = {.back = kButtonFace},
            .store = std::move(store)};
}

ControlSpec List(std::string objectName, ControlKind kind, TwipRect place,
                 std::vector<std::string> items, Spoken spoken, StoreControl store,
                 Parent parent = Parent::ClientArea) {
    return {.objectName = std::move(objectName),
            .kind = kind,
            .parent = parent,
            .place = place,
            .spoken = std::move(spoken),
            .items = std::move(items),
            .store = std::move(store)};
}

ControlSpec LorentzianBox(const std::string& column, int row, int left, std::string text,
                          Spoken spoken, StoreControl store) {
    return {.objectName = Element(column, row),
            .kind = ControlKind::TextBox,
            .place = {left, kRowTops[row], kBoxWidth, kBoxHeight},
            .text = std::move(text),
            .spoken = std::move(spoken),
            .look = {.back = kWhite, .align = Align::Centre},
            .helpSection = kHelpLorentzians,
            .store = std::move(store)};
}

void AddSpinSystem(std::vector<ControlSpec>& table) {
    table.push_back({.objectName = "Frame1(1)",
                     .kind = ControlKind::Frame,
                     .place = {0, 0, 3495, 3120},
                     .text = "Spin system",
                     .spoken = {.name = "Spin system",
                                .description = "The nuclei with their distances and "
                                               "abundances, Rex and CSA"},
                     .look = Heading(SystemColour::CaptionText, kFormBack, true),
                     .store = Into(&WindowControls::spinFrame)});
    table.push_back({.objectName = "SpinDiagram",
                     .kind = ControlKind::SpinDiagram,
                     .parent = Parent::SpinFrame,
                     .place = {0, 0, 3495, 3120},
                     .spoken = {"Spin system diagram",
                                "A nucleus opens the nucleus menu; a distance or abundance "
                                "opens its editor"},
                     .takesPointer = false,
                     .store = Into(&WindowControls::spinDiagram)});
    table.push_back(Label("Label3(17)", {120, 2640, 2415, 255}, "Rex                    CSA",
                          SpacedHeading(SystemColour::ButtonShadow), Parent::SpinFrame));
    table.push_back(List("Combo1(1)", ControlKind::EditableList, {600, 2640, 975, 315},
                         {"0", "0.5", "1", "2", "3", "4", "5"},
                         {"Rex at 800 MHz, 1/s", "Exchange contribution to R2"},
                         Into(&WindowControls::rexBox), Parent::SpinFrame));
    table.push_back(List("Combo1(2)", ControlKind::EditableList, {2280, 2640, 975, 315},
                         {"0", "-25", "-170"}, {"CSA, ppm", "Chemical shift anisotropy"},
                         Into(&WindowControls::csaBox), Parent::SpinFrame));
    // The three editors are named again for the slot they open over.
    ControlSpec menu =
        List("Combo3", ControlKind::DropList, {720, 3000, 660, 315}, {}, {.name = "Nucleus"},
             Into(&WindowControls::nucleusMenu), Parent::SpinFrame);
    menu.look.back = Rgb{255, 192, 255};
    menu.visible = false;
    table.push_back(menu);
    table.push_back({.objectName = "Text42(0)",
                     .kind = ControlKind::TextBox,
                     .parent = Parent::SpinFrame,
                     .place = {2280, 3000, 555, 290},
                     .text = "1.09",
                     .spoken = {.name = "Distance, Å"},
                     .look = {.text = kBlack, .back = kWhite},
                     .visible = false,
                     .store = Into(&WindowControls::distanceEditor)});
    table.push_back({.objectName = "Text42(8)",
                     .kind = ControlKind::TextBox,
                     .parent = Parent::SpinFrame,
                     .place = {1560, 3000, 540, 290},
                     .text = "1",
                     .spoken = {.name = "Abundance"},
                     .look = {.text = Rgb{192, 0, 0}, .back = kWhite},
                     .visible = false,
                     .store = Into(&WindowControls::abundanceEditor)});
}

void AddLorentzians(std::vector<ControlSpec>& table) {
    table.push_back(Label("Label3(12)", {120, 3120, 1455, 255}, "Lorentzians",
                          Heading(SystemColour::HighlightText, {}, true)));
    table.push_back(DisabledLabel("Label3(11)", {240, 3330, 2655, 255},
                                  "i          ci     ci/{ci}   ti,ps",
                                  SpacedHeading({}, kFormBack)));
    table.push_back(
        DisabledLabel("Label16(18)", {1395, 3360, 615, 255}, "ci/{ci}", {.back = kFormBack}));
    table.push_back(
        DisabledLabel("Label16(22)", {2160, 3330, 615, 255}, "ti, ps", Heading({}, kFormBack)));
    ControlSpec rows = DisabledLabel("Label3(9)", {240, 3630, 375, 1575},
                                     "1     2    3     4    5    6", Heading());
    rows.look.wrap = true;
    table.push_back(rows);

    const ModelTexts defaults = DefaultModel();
    for (int row = 0; row < kLorentzianCount; ++row) {
        const std::string number = std::to_string(row + 1);
        const std::string lorentzian = "Lorentzian " + number;
        table.push_back(LorentzianBox("Text7", row, kWeightLeft, defaults.weights[row],
                                      {"Weight c" + number, "Weight of " + lorentzian},
                                      Into(&WindowControls::weightBoxes, row)));
        ControlSpec normalised = LorentzianBox(
            "Text5", row, kNormalisedLeft, defaults.weights[row],
            {"Normalised weight c" + number, "Weight c" + number + " divided by the sum of all"},
            Into(&WindowControls::normalisedWeightBoxes, row));
        normalised.enabled = false;
        normalised.helpSection = {};
        table.push_back(normalised);
        table.push_back(LorentzianBox(
            "Text8", row, kTimeLeft, defaults.times[row],
            {"Correlation time t" + number + ", ps", "Correlation time of " + lorentzian},
            Into(&WindowControls::timeBoxes, row)));
    }
}

void AddArray(std::vector<ControlSpec>& table) {
    ControlSpec heading =
        Label("Label3(8)", {240, 5520, 2565, 315}, "Array",
              {.points = kArrayPoints, .italic = true, .text = kWhite, .back = kFormBack});
    heading.helpSection = kHelpArray;
    table.push_back(heading);
    ControlSpec parameter = List("Combo2", ControlKind::DropList, {1440, 5535, 975, 315},
                                 ListItems(kArrayParameterTable, &ArrayParameterRow::name),
                                 {"Array parameter", "The parameter the array scales down to zero"},
                                 Into(&WindowControls::arrayParameterList));
    parameter.visible = false;
    table.push_back(parameter);
    ControlSpec button = Button("Command3", {2640, 5520, 735, 345}, "on", {.name = "Array mode"},
                                Into(&WindowControls::arrayButton));
    button.helpSection = kHelpArray;
    table.push_back(button);
    ControlSpec range =
        Label("Label3(6)", {120, 6000, 2685, 315}, "From             to  0     step    ",
              SpacedHeading(Rgb{128, 128, 128}, kFormBack));
    range.visible = false;
    range.helpSection = kHelpArray;
    range.store = Into(&WindowControls::arrayRangeCaption);
    table.push_back(range);
    table.push_back({.objectName = "Text4(1)",
                     .kind = ControlKind::TextBox,
                     .place = {720, 6000, 600, 285},
                     .text = "0.5",
                     .spoken = {"Array from", "The first value of the array parameter"},
                     .look = {.text = SystemColour::WindowFrame, .back = kFormBack},
                     .visible = false,
                     .enabled = false,
                     .store = Into(&WindowControls::arrayFromBox)});
    table.push_back({.objectName = "Text4(0)",
                     .kind = ControlKind::TextBox,
                     .place = {2760, 6000, 720, 285},
                     .text = "0.05",
                     .spoken = {"Array step", "The step down to zero"},
                     .look = {.back = kFormBack},
                     .visible = false,
                     .enabled = false,
                     .store = Into(&WindowControls::arrayStepBox)});
}

void AddResults(std::vector<ControlSpec>& table) {
    table.push_back(
        Label("Label3(13)", {3840, 0, 1260, 375}, "Results",
              {.points = kResultsPoints, .italic = true, .text = SystemColour::HighlightText}));
    ControlSpec results =
        List("List3", ControlKind::ResultsList, {3960, 840, 3615, 1425}, {},
             {"Results table",
              "NOE, CRR, R1 and R2 (or 1/CRR, T1 and T2) at six fields from 100 to 800 MHz; "
              "rates in 1/s, times in s"},
             Into(&WindowControls::resultsList));
    results.helpSection = kHelpTable;
    table.push_back(results);
    // Why the table was not recalculated; empty while the table is current. It uses the
    // free strip of background between the list and the graph-option list, and leaves
    // the pointer to the background.
    ControlSpec status = Label("RunStatus", {3720, 2280, 2940, 240}, "",
                               {.points = kStatusPoints, .text = Rgb{255, 0, 0}});
    status.spoken.description = "Why the table was not recalculated";
    status.takesPointer = false;
    status.store = Into(&WindowControls::failureLine);
    table.push_back(status);
    table.push_back(Button("Command1", {6720, 2280, 750, 300}, "R-->T", {.name = "Rates or times"},
                           Into(&WindowControls::tableModeButton)));
}

void AddGraph(std::vector<ControlSpec>& table) {
    table.push_back({.objectName = "Picture1",
                     .kind = ControlKind::GraphPanel,
                     .place = kGraphPlace,
                     .spoken = {.name = "Graph"},
                     .look = {.back = SystemColour::CaptionText},
                     .store = Into(&WindowControls::graphCanvas)});
    ControlSpec vertical =
        Label("Label3(1)", {120, 2400, 975, 255}, "", {.text = kBlack}, Parent::GraphPanel);
    vertical.spoken.description = "Pointer readout: the vertical value";
    vertical.store = Into(&WindowControls::verticalReadout);
    table.push_back(vertical);
    ControlSpec horizontal =
        Label("Label3(2)", {120, 2640, 975, 255}, "", {.text = kBlack}, Parent::GraphPanel);
    horizontal.spoken.description = "Pointer readout: the horizontal value";
    horizontal.store = Into(&WindowControls::horizontalReadout);
    table.push_back(horizontal);
    // After the panel, so that the list stays in front of the panel's top-left corner.
    table.push_back(List("Combo4", ControlKind::DropList, kGraphOptionPlace,
                         ListItems(kPlotModeTable, &PlotModeRow::listText),
                         {"Graph option", "What the graph shows"},
                         Into(&WindowControls::plotList)));
    ControlSpec caption = DisabledLabel("Label3(14)", {6240, 5880, 1290, 255}, "log(w/2pi)  ",
                                        Heading({}, kFormBack, true));
    caption.look.align = Align::Right;
    caption.spoken.description = "The graph's horizontal axis";
    caption.store = Into(&WindowControls::axisCaption);
    table.push_back(caption);
}

void AddHelp(std::vector<ControlSpec>& table) {
    ControlSpec help = List("List1", ControlKind::ListBox, kHelpListPlace, {},
                            {"Help", "Help on the part of the window under the pointer"},
                            Into(&WindowControls::helpList));
    help.look.back = kWhite;
    table.push_back(help);
}

// The Options panel is made apart: it brings its own controls.
void AddPopUpPanels(std::vector<ControlSpec>& table) {
    table.push_back({.objectName = "Picture2",
                     .kind = ControlKind::TheoryPage,
                     .place = {120, 0, 7695, 735},
                     .spoken = {"Theory",
                                "The equations used and a table of typical distances; a click "
                                "turns to the motions and the fit"},
                     .look = {.back = Rgb{255, 224, 192}},
                     .visible = false,
                     .store = Into(&WindowControls::theoryPage)});
    ControlSpec about = List("List2", ControlKind::ListBox, {480, 0, 7335, 255}, {},
                             {.name = "About"}, Into(&WindowControls::aboutList));
    about.look.back = kWhite;
    about.visible = false;
    table.push_back(about);
}

}  // namespace

std::string Element(const std::string& name, int index) {
    return name + "(" + std::to_string(index) + ")";
}

std::vector<ControlSpec> ControlTable() {
    std::vector<ControlSpec> table;
    AddSpinSystem(table);
    AddLorentzians(table);
    AddArray(table);
    AddResults(table);
    AddGraph(table);
    AddHelp(table);
    AddPopUpPanels(table);
    return table;
}

std::array<MenuItemSpec, 4> MenuTable() {
    return {{
        {"Options", "&Options", Panel::Options, QKeySequence::UnknownKey},
        {"Theory", "&Theory", Panel::Theory, QKeySequence::UnknownKey},
        {"h", "Help", Panel::Help, QKeySequence::HelpContents},
        {"About_", "About", Panel::About, QKeySequence::UnknownKey},
    }};
}

void NameOtherParts(QWidget& window, QWidget& clientArea, const WindowControls& controls,
                    const WordMark& wordMark) {
    window.setObjectName(QStringLiteral("Modeling"));
    clientArea.setObjectName(QStringLiteral("Form"));
    OptionsPanel& options = *controls.optionsPanel;
    options.setObjectName(QStringLiteral("Frame1(0)"));
    options.directoryCaption()->setObjectName(QStringLiteral("Label3(25)"));
    options.directoryBox()->setObjectName(QStringLiteral("Text3"));
    options.directoryList()->setObjectName(QStringLiteral("Dir1"));
    const SpinDiagram& diagram = *controls.spinDiagram;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        diagram.nucleusBox(slot)->setObjectName(QString::fromStdString(Element("Text1", slot)));
        diagram.abundanceLabel(slot)->setObjectName(
            QString::fromStdString(Element("Label1", slot)));
        if (slot < kNeighbourCount) {
            diagram.distanceLabel(slot)->setObjectName(
                QString::fromStdString(Element("Label2", slot)));
        }
    }
    for (int letter = 0; letter < WordMark::kLetterCount; ++letter) {
        wordMark.letter(letter)->setObjectName(QString::fromStdString(Element("Label16", letter)));
    }
}

std::vector<LineSpec> LineTable() {
    const Paint window = SystemColour::Window;
    const Rgb red{255, 0, 0};
    return {
        {0, 5400, 3600, 5400, 2, window},  // above the array controls
        {3600, 0, 3600, 6360, 3, window},  // between the left and the right column
        {0, 6360, 7920, 6360, 3, window},  // above the help list
        // The colour marks of the table rows: the results list covers them from x = 3960.
        {3720, 1120, 4200, 1120, 5, Rgb{128, 255, 128}},
        {3720, 1320, 4080, 1320, 5, Rgb{255, 0, 0}},
        {3720, 1520, 4080, 1520, 5, Rgb{128, 128, 255}},
        {3720, 1720, 4320, 1720, 5, Rgb{255, 255, 128}},
        {3720, 1920, 4200, 1920, 5, Rgb{255, 0, 255}},
        {3720, 2120, 4200, 2120, 5, Rgb{0, 0, 255}},
        // The red frame around the client area.
        {0, 0, 7920, 0, 1, red},
        {7920, 7680, 7920, 0, 1, red},
        {0, 7800, 0, 0, 1, red},
        {0, 7680, 7920, 7680, 1, red},
    };
}

// The word mark's background.
std::vector<ShapeSpec> ShapeTable() { return {{{6000, 120, 1020, 495}, {192, 192, 255}}}; }

}  // namespace veldorin
