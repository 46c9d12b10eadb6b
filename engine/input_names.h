// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/model.h"

namespace veldorin {

// One text of a model with the name the user knows its box by ("t3 (ps)",
// "neighbour 2 distance (Å)").
struct NamedText {
    std::string name;
    const std::string* text;
};

// Every text of the model: the spin slots (nucleus, distance, abundance), the weights
// and times, the CSA and the Rex.
std::vector<NamedText> NamedTexts(const ModelTexts& model);

// For a run that failed on reading a number: the first text a run reads that does not
// read, with its name and why (`t3 (ps): "1,5" is not a number`); nothing when every
// text a run reads is a number.
std::optional<std::string> DescribeUnreadableInput(const ModelTexts& model);

}  // namespace veldorin
