// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "structure/viewer_script.h"

#include <algorithm>
#include <locale>
#include <sstream>
#include <string>

namespace veldorin {

namespace {

// How far the fastest axis reaches from the centre on either side, Å: beyond a small
// protein, so that it shows.
constexpr double kLongestHalfAxis = 30.0;
constexpr double kAxisRadius = 0.4;

// A name or label as one argument of either viewer's commands, spaces and all.
std::string Quoted(std::string_view text) {
    const char quote = text.find('"') == std::string_view::npos ? '"' : '\'';
    return quote + std::string(text) + quote;
}

// One end of a drawn axis.
struct AxisEnds {
    std::array<double, 3> start;
    std::array<double, 3> end;
};

std::vector<AxisEnds> EndsOf(const std::array<double, 3>& centre,
                             const std::vector<DrawnAxis>& axes) {
    double largest = 0.0;
    for (const DrawnAxis& axis : axes) largest = std::max(largest, axis.d);
    std::vector<AxisEnds> ends;
    for (const DrawnAxis& axis : axes) {
        const double half =
            largest > 0.0 ? kLongestHalfAxis * std::max(axis.d, 0.0) / largest : 0.0;
        AxisEnds line{};
        for (int i = 0; i < 3; ++i) {
            line.start[i] = centre[i] - half * axis.unitVector[i];
            line.end[i] = centre[i] + half * axis.unitVector[i];
        }
        ends.push_back(line);
    }
    return ends;
}

// Numbers in the viewers' own notation, whatever the program's locale.
class Script {
public:
    Script() {
        text_.imbue(std::locale::classic());
        text_.setf(std::ios::fixed);
        text_.precision(3);
    }
    template <typename T>
    Script& operator<<(const T& value) {
        text_ << value;
        return *this;
    }
    Script& Point(const std::array<double, 3>& point, std::string_view separator) {
        text_ << point[0] << separator << point[1] << separator << point[2];
        return *this;
    }
    std::string Text() const { return text_.str(); }

private:
    std::ostringstream text_;
};

std::string PymolScript(std::string_view structureFile, std::string_view quantity,
                        const std::vector<DrawnAxis>& axes, const std::vector<AxisEnds>& ends) {
    Script script;
    script << "# " << quantity << " in the B-factor column: blue low, red high, grey none\n"
           << "load " << Quoted(structureFile) << ", structure\n"
           << "hide everything, structure\nshow cartoon, structure\n"
           << "color grey70, structure\n"
           << "spectrum b, blue_red, structure and not b = 0\n";
    if (axes.empty()) return script.Text();
    script << "python\nfrom pymol import cmd\nfrom pymol.cgo import CYLINDER\n";
    for (std::size_t i = 0; i < axes.size(); ++i) {
        script << "cmd.load_cgo([CYLINDER, ";
        script.Point(ends[i].start, ", ") << ", ";
        script.Point(ends[i].end, ", ")
            << ", " << kAxisRadius << ", 1, 0.8, 0, 1, 0.8, 0], \"axis" << i + 1 << "\")\n";
    }
    script << "python end\n";
    for (std::size_t i = 0; i < axes.size(); ++i) {
        script << "pseudoatom axis_labels, pos=[";
        script.Point(ends[i].end, ", ") << "], label=" << Quoted(axes[i].label) << "\n";
    }
    script << "hide everything, axis_labels\nshow labels, axis_labels\n";
    return script.Text();
}

std::string ChimeraXScript(std::string_view structureFile, std::string_view quantity,
                           const std::vector<DrawnAxis>& axes, const std::vector<AxisEnds>& ends) {
    Script script;
    script << "# " << quantity << " in the B-factor column: blue low, red high, grey none\n"
           << "# A fresh view: the structure is #1, the axes #2.\n"
           << "close\nopen " << Quoted(structureFile) << "\n"
           << "color #1 grey\n"
           << "color bfactor #1&~@@bfactor=0 palette blue:red\n";
    for (std::size_t i = 0; i < axes.size(); ++i) {
        script << "marker segment #2 position ";
        script.Point(ends[i].start, ",") << " toPosition ";
        script.Point(ends[i].end, ",") << " color gold radius " << kAxisRadius << " label "
                                       << Quoted(axes[i].label) << " labelHeight 3\n";
    }
    return script.Text();
}

}  // namespace

std::string ViewerScript(Viewer viewer, std::string_view structureFile, std::string_view quantity,
                         const std::array<double, 3>& centre, const std::vector<DrawnAxis>& axes) {
    const std::vector<AxisEnds> ends = EndsOf(centre, axes);
    return viewer == Viewer::Pymol ? PymolScript(structureFile, quantity, axes, ends)
                                   : ChimeraXScript(structureFile, quantity, axes, ends);
}

}  // namespace veldorin
