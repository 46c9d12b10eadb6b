// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace veldorin {

// One option of the command line. Each parser accepts exactly the options of its table and
// --help prints the same table, so that no option can be accepted without being named.
struct OptionHelp {
    std::string_view name;     // "--model"
    std::string_view value;    // what its value is, as the help names it; "" for none
    std::string_view meaning;  // the help's lines, each ending in '\n'
    std::string_view example;  // a whole command line that uses it
    std::string_view alias;    // a second name, "" for none
};

using OptionTable = std::span<const OptionHelp>;

// The option named `name` (or with that alias); nullptr when the table has none.
const OptionHelp* FindOption(OptionTable table, std::string_view name);

// Each option with its value, its meaning and its example, indented as --help shows them.
void PrintOptions(OptionTable table, std::ostream& out);

}  // namespace veldorin
