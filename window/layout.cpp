#include "window/layout.h"

#include "engine/model.h"

namespace veldorin {

namespace {

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

Look Heading(Paint text = {}, Paint back = {}, bool italic = false) {
    return {.points = kHeadingPoints, .italic = italic, .text = text, .back = back};
}

Look SpacedHeading(Paint text = {}, Paint back = {}) {
    Look look = Heading(text, back);
    look.spacedWords = true;
    return look;
}

ControlSpec Label(std::string name, TwipRect place, std::string text, Look look,
                  std::string parent = {}) {
    return {.name = std::move(name), .kind = ControlKind::Label, .parent = std::move(parent),
            .place = place, .text = std::move(text), .look = look};
}

ControlSpec DisabledLabel(std::string name, TwipRect place, std::string text, Look look) {
    ControlSpec design = Label(std::move(name), place, std::move(text), look);
    design.enabled = false;
    return design;
}

ControlSpec Button(std::string name, TwipRect place, std::string text) {
    return {.name = std::move(name), .kind = ControlKind::Button, .place = place,
            .text = std::move(text), .look = {.back = kButtonFace}};
}

ControlSpec List(std::string name, ControlKind kind, TwipRect place, std::vector<std::string> items,
                 std::string parent = {}) {
    return {.name = std::move(name), .kind = kind, .parent = std::move(parent), .place = place,
            .items = std::move(items)};
}

ControlSpec LorentzianBox(const std::string& column, int row, int left, std::string text) {
    return {.name = Element(column, row), .kind = ControlKind::TextBox,
            .place = {left, kRowTops[row], kBoxWidth, kBoxHeight}, .text = std::move(text),
            .look = {.back = kWhite, .align = Align::Centre}};
}

void AddSpinSystem(std::vector<ControlSpec>& table) {
    const std::string frame = "Frame1(1)";
    table.push_back({.name = frame, .kind = ControlKind::Frame, .place = {0, 0, 3495, 3120},
                     .text = "Spin system",
                     .look = Heading(SystemColour::CaptionText, kFormBack, true)});
    table.push_back({.name = "SpinDiagram", .kind = ControlKind::SpinDiagram, .parent = frame,
                     .place = {0, 0, 3495, 3120}, .takesPointer = false});
    table.push_back(Label("Label3(17)", {120, 2640, 2415, 255}, "Rex                    CSA",
                          SpacedHeading(SystemColour::ButtonShadow), frame));
    table.push_back(List("Combo1(1)", ControlKind::EditableList, {600, 2640, 975, 315},
                         {"0", "0.5", "1", "2", "3", "4", "5"}, frame));
    table.push_back(List("Combo1(2)", ControlKind::EditableList, {2280, 2640, 975, 315},
                         {"0", "-25", "-170"}, frame));
    ControlSpec menu = List("Combo3", ControlKind::DropList, {720, 3000, 660, 315}, {}, frame);
    menu.look.back = Rgb{255, 192, 255};
    menu.visible = false;
    table.push_back(menu);
    table.push_back({.name = "Text42(0)", .kind = ControlKind::TextBox, .parent = frame,
                     .place = {2280, 3000, 555, 290}, .text = "1.09",
                     .look = {.text = kBlack, .back = kWhite}, .visible = false});
    table.push_back({.name = "Text42(8)", .kind = ControlKind::TextBox, .parent = frame,
                     .place = {1560, 3000, 540, 290}, .text = "1",
                     .look = {.text = Rgb{192, 0, 0}, .back = kWhite}, .visible = false});
}

void AddLorentzians(std::vector<ControlSpec>& table) {
    table.push_back(Label("Label3(12)", {120, 3120, 1455, 255}, "Lorentzians",
                          Heading(SystemColour::HighlightText, {}, true)));
    table.push_back(DisabledLabel("Label3(11)", {240, 3330, 2655, 255},
                                  "i          ci     ci/{ci}   ti,ps",
                                  SpacedHeading({}, kFormBack)));
    table.push_back(DisabledLabel("Label16(18)", {1395, 3360, 615, 255}, "ci/{ci}",
                                  {.back = kFormBack}));
    table.push_back(DisabledLabel("Label16(22)", {2160, 3330, 615, 255}, "ti, ps",
                                  Heading({}, kFormBack)));
    ControlSpec rows = DisabledLabel("Label3(9)", {240, 3630, 375, 1575},
                                     "1     2    3     4    5    6", Heading());
    rows.look.wrap = true;
    table.push_back(rows);

    const ModelTexts defaults = DefaultModel();
    for (int row = 0; row < kLorentzianCount; ++row) {
        table.push_back(LorentzianBox("Text7", row, kWeightLeft, defaults.weights[row]));
        ControlSpec normalised =
            LorentzianBox("Text5", row, kNormalisedLeft, defaults.weights[row]);
        normalised.enabled = false;
        table.push_back(normalised);
        table.push_back(LorentzianBox("Text8", row, kTimeLeft, defaults.times[row]));
    }
}

void AddArray(std::vector<ControlSpec>& table) {
    table.push_back(Label("Label3(8)", {240, 5520, 2565, 315}, "Array",
                          {.points = kArrayPoints, .italic = true, .text = kWhite,
                           .back = kFormBack}));
    ControlSpec parameter = List("Combo2", ControlKind::DropList, {1440, 5535, 975, 315},
                                 {"c1", "c2", "c3", "c4", "c5", "c6", "t1", "t2", "t3", "t4",
                                  "t5", "t6", "CSA", "Rex"});
    parameter.visible = false;
    table.push_back(parameter);
    table.push_back(Button("Command3", {2640, 5520, 735, 345}, "on"));
    ControlSpec range = Label("Label3(6)", {120, 6000, 2685, 315},
                              "From             to  0     step    ",
                              SpacedHeading(Rgb{128, 128, 128}, kFormBack));
    range.visible = false;
    table.push_back(range);
    table.push_back({.name = "Text4(1)", .kind = ControlKind::TextBox,
                     .place = {720, 6000, 600, 285}, .text = "0.5",
                     .look = {.text = SystemColour::WindowFrame, .back = kFormBack},
                     .visible = false, .enabled = false});
    table.push_back({.name = "Text4(0)", .kind = ControlKind::TextBox,
                     .place = {2760, 6000, 720, 285}, .text = "0.05",
                     .look = {.back = kFormBack}, .visible = false, .enabled = false});
}

void AddResults(std::vector<ControlSpec>& table) {
    table.push_back(Label("Label3(13)", {3840, 0, 1260, 375}, "Results",
                          {.points = kResultsPoints, .italic = true,
                           .text = SystemColour::HighlightText}));
    table.push_back(List("List3", ControlKind::ResultsList, {3960, 840, 3615, 1425}, {}));
    // Why the table was not recalculated; empty while the table is current. It uses the
    // free strip of background between the list and the graph-option list, and leaves
    // the pointer to the background.
    ControlSpec status = Label("RunStatus", {3720, 2280, 2940, 240}, "",
                               {.points = kStatusPoints, .text = Rgb{255, 0, 0}});
    status.takesPointer = false;
    table.push_back(status);
    table.push_back(Button("Command1", {6720, 2280, 750, 300}, "R-->T"));
}

void AddGraph(std::vector<ControlSpec>& table) {
    const std::string panel = "Picture1";
    table.push_back({.name = panel, .kind = ControlKind::GraphPanel, .place = kGraphPlace,
                     .look = {.back = SystemColour::CaptionText}});
    table.push_back(Label("Label3(1)", {120, 2400, 975, 255}, "", {.text = kBlack}, panel));
    table.push_back(Label("Label3(2)", {120, 2640, 975, 255}, "", {.text = kBlack}, panel));
    // After the panel, so that the list stays in front of the panel's top-left corner.
    table.push_back(List("Combo4", ControlKind::DropList, kGraphOptionPlace,
                         {"log[2wJ(w)]", "log[J(w), ps]", "log[R1,R2 1/s]", "log[C(t)]", "NOE"}));
    ControlSpec caption = DisabledLabel("Label3(14)", {6240, 5880, 1290, 255}, "log(w/2pi)  ",
                                        Heading({}, kFormBack, true));
    caption.look.align = Align::Right;
    table.push_back(caption);
}

void AddHelp(std::vector<ControlSpec>& table) {
    ControlSpec help = List("List1", ControlKind::ListBox, kHelpListPlace, {});
    help.look.back = kWhite;
    table.push_back(help);
}

// The Options panel Frame1(0) is made by the control set: it brings its own controls.
void AddPopUpPanels(std::vector<ControlSpec>& table) {
    table.push_back({.name = "Picture2", .kind = ControlKind::TheoryPage,
                     .place = {120, 0, 7695, 735}, .look = {.back = Rgb{255, 224, 192}},
                     .visible = false});
    ControlSpec about = List("List2", ControlKind::ListBox, {480, 0, 7335, 255}, {});
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

std::vector<std::string> PopUpPanels() { return {"Frame1(0)", "Picture2", "List2"}; }

std::vector<LineSpec> LineTable() {
    const Paint window = SystemColour::Window;
    const Rgb red{255, 0, 0};
    return {
        {"Line1(11)", "", 0, 5400, 3600, 5400, 2, window},
        {"Line1(17)", "", 3600, 0, 3600, 6360, 3, window},
        {"Line1(14)", "", 0, 6360, 7920, 6360, 3, window},
        // The colour marks of the table rows: List3 covers them from x = 3960.
        {"Line1(15)", "", 3720, 1120, 4200, 1120, 5, Rgb{128, 255, 128}},
        {"Line1(12)", "", 3720, 1320, 4080, 1320, 5, Rgb{255, 0, 0}},
        {"Line1(13)", "", 3720, 1520, 4080, 1520, 5, Rgb{128, 128, 255}},
        {"Line1(19)", "", 3720, 1720, 4320, 1720, 5, Rgb{255, 255, 128}},
        {"Line1(8)", "", 3720, 1920, 4200, 1920, 5, Rgb{255, 0, 255}},
        {"Line1(9)", "", 3720, 2120, 4200, 2120, 5, Rgb{0, 0, 255}},
        {"Line1(21)", "", 0, 0, 7920, 0, 1, red},
        {"Line1(22)", "", 7920, 7680, 7920, 0, 1, red},
        {"Line1(23)", "", 0, 7800, 0, 0, 1, red},
        {"Line1(24)", "", 0, 7680, 7920, 7680, 1, red},
    };
}

std::vector<ShapeSpec> ShapeTable() { return {{"Shape2", {6000, 120, 1020, 495}, {192, 192, 255}}}; }

}  // namespace veldorin
