// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QKeySequence>
#include <QLatin1StringView>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/model.h"
#include "graph/graph_scale.h"
#include "graph_panel/drawn_surface.h"
#include "ui/colours.h"
#include "ui/design_font.h"
#include "ui/twips.h"
#include "window/window_controls.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

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

class DrawnSurface;
class WordMark;

// The panels the menu opens over the window's top.
enum class Panel { Options, Theory, Help, About };

// An item of the menu bar; the items have no sub-items.
struct MenuItemSpec {
    const char* objectName;
    const char* text;
    Panel panel;
    QKeySequence::StandardKey key;  // UnknownKey: none
};

// What a screen reader says of a control: its name and, where its unit or purpose is not
// in the name, a description. An empty name leaves the toolkit's own (a label's caption,
// a button's text).
struct Spoken {
    std::string name;
    std::string description;
};

// Where a control of the table stands: on the client area or inside a frame or panel.
enum class Parent { ClientArea, SpinFrame, GraphPanel };

// Puts a control the table made into its member of WindowControls.
using StoreControl = std::function<void(WindowControls&, QWidget*)>;

// One control of the window as designed. Controls are created in table order, so a
// later row lies in front of an earlier row with the same parent.
struct ControlSpec {
    std::string objectName;  // the design's name, e.g. "Text7(0)", by which tests find it
    ControlKind kind = ControlKind::Label;
    Parent parent = Parent::ClientArea;
    TwipRect place;
    std::string text;  // caption, text or frame title at start
    Spoken spoken;
    Look look;
    std::vector<std::string> items;  // list items of drop-down lists
    bool visible = true;
    bool enabled = true;  // a disabled control leaves the pointer to its parent
    // False for a control that is only something to look at: the pointer moves over it
    // belong to its parent, as over a disabled control, though it stays enabled.
    bool takesPointer = true;
    // The help section that a pointer move over the control shows; empty: none.
    QLatin1StringView helpSection;
    StoreControl store;  // none for a control that the code never touches
};

inline constexpr TwipRect kClientArea{0, 0, 7965, 7785};
inline constexpr Rgb kFormBack{224, 224, 224};

// The standard places that the panel reset restores.
inline constexpr TwipRect kGraphOptionPlace{3720, 2520, 2010, 315};
inline constexpr TwipRect kGraphPlace{3720, 2760, kGraphWidthTwips, kGraphHeightTwips};
inline constexpr TwipRect kHelpListPlace{240, 6480, 7485, 1035};
// The block of the Lorentzians on the client area, from their heading to the array
// separator.
inline constexpr TwipRect kLorentzianArea{0, 3120, 3600, 2280};

std::vector<ControlSpec> ControlTable();
std::array<MenuItemSpec, 4> MenuTable();
std::vector<LineSpec> LineTable();
std::vector<ShapeSpec> ShapeTable();

// The design's names of the parts that are not rows of the table: the window and its
// client area, the Options panel and its controls, the boxes and labels of the spin
// diagram and the word mark's letters. Tests and automation find them by these names,
// as they find the table's rows.
void NameOtherParts(QWidget& window, QWidget& clientArea, const WindowControls& controls,
                    const WordMark& wordMark);

// "Name(index)", the name of one element of a control array.
std::string Element(const std::string& name, int index);

}  // namespace veldorin
