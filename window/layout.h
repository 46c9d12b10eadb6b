#pragma once

#include <string>
#include <vector>

#include "ui/colours.h"
#include "ui/twips.h"
#include "ui/design_font.h"

namespace veldorin {

enum class ControlKind {
    Label,
    TextBox,
    EditableList,  // an editable drop-down list
    DropList,      // a drop-down list that only offers its items
    Button,
    ListBox,
    ResultsList,   // the list of the results table
    GraphPanel,    // the drawing panel of the graph
    PicturePanel,  // a plain coloured panel
    TheoryPage,    // the page of the equations and the table of distances
    Frame,         // a frame with a caption; a parent of other controls
    SpinDiagram,   // the spin-system diagram inside its frame
};

enum class Align { Left, Centre, Right };

struct Look {
    double points = kNormalPoints;
    bool italic = false;
    Paint text{};  // none: the toolkit's colour
    Paint back{};  // none: transparent labels and panels, the toolkit's colour elsewhere
    Align align = Align::Left;
    bool wrap = false;
    bool spacedWords = false;  // the text places its words over columns with runs of spaces
};

// One control of the window as designed. Controls are created in table order, so a
// later row lies in front of an earlier row with the same parent.
struct ControlSpec {
    std::string name;    // the design name, e.g. "Text7(0)"
    ControlKind kind = ControlKind::Label;
    std::string parent;  // empty for the client area, else the name of a frame or panel
    TwipRect place;
    std::string text;    // caption, text or frame title at start
    Look look;
    std::vector<std::string> items;  // list items of drop-down lists
    bool visible = true;
    bool enabled = true;  // a disabled control leaves the pointer to its parent
    // False for a control that is only something to look at: the pointer moves over it
    // belong to its parent, as over a disabled control, though it stays enabled.
    bool takesPointer = true;
};

// A straight line drawn on the client area or on a frame, under all controls.
struct LineSpec {
    std::string name;
    std::string parent;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // twips
    int pixels = 1;                      // width
    Paint colour{};
};

// A filled rectangle drawn on the client area, under all controls.
struct ShapeSpec {
    std::string name;
    TwipRect place;
    Rgb fill;
};

inline constexpr TwipRect kClientArea{0, 0, 7965, 7785};
inline constexpr Rgb kFormBack{224, 224, 224};

// The standard places that the panel reset restores.
inline constexpr TwipRect kGraphOptionPlace{3720, 2520, 2010, 315};
inline constexpr TwipRect kGraphPlace{3720, 2760, 3855, 3015};
inline constexpr TwipRect kHelpListPlace{240, 6480, 7485, 1035};

std::vector<ControlSpec> ControlTable();
std::vector<LineSpec> LineTable();
std::vector<ShapeSpec> ShapeTable();

// The pop-up panels, which open over everything else in the client area.
std::vector<std::string> PopUpPanels();

// "Name(index)", the name of one element of a control array.
std::string Element(const std::string& name, int index);

}  // namespace veldorin
