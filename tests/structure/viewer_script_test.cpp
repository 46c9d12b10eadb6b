// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "structure/viewer_script.h"

#include <gtest/gtest.h>

#include <map>

namespace veldorin {
namespace {

TEST(ViewerScript, OpensTheQuotedFileColoursAndDrawsTheAxesToScale) {
    const std::vector<DrawnAxis> axes = {{{0, 0, 1}, 2e7, "D par"}, {{1, 0, 0}, 1e7, "D perp"}};
    const std::map<Viewer, std::vector<std::string>> parts = {
        {Viewer::Pymol,
         {"load \"my protein.pdb\"", "spectrum b", "1.000, 2.000, 33.000", "16.000, 2.000, 3.000",
          "label=\"D perp\""}},
        {Viewer::ChimeraX,
         {"open \"my protein.pdb\"", "color bfactor", "1.000,2.000,33.000", "16.000,2.000,3.000",
          "label \"D perp\""}}};
    for (const auto& [viewer, expected] : parts) {
        const std::string script = ViewerScript(viewer, "my protein.pdb", "S2", {1, 2, 3}, axes);
        for (const std::string& part : expected)
            EXPECT_NE(script.find(part), std::string::npos) << part;
    }
}

}  // namespace
}  // namespace veldorin
