// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/option_table.h"

#include <algorithm>
#include <ostream>

namespace veldorin {

namespace {

// Where the meaning's lines start, as in the usual help of command-line programs; the
// example stands out further in, so that a manual page made from the help keeps it apart.
constexpr std::string_view kMeaningIndent = "        ";
constexpr std::string_view kExampleIndent = "          ";

void PrintIndented(std::string_view lines, std::ostream& out) {
    while (!lines.empty()) {
        const std::size_t end = lines.find('\n');
        out << kMeaningIndent << lines.substr(0, end) << '\n';
        lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
    }
}

}  // namespace

const OptionHelp* FindOption(OptionTable table, std::string_view name) {
    const auto found = std::ranges::find_if(table, [name](const OptionHelp& option) {
        return option.name == name || (!option.alias.empty() && option.alias == name);
    });
    return found == table.end() ? nullptr : &*found;
}

void PrintOptions(OptionTable table, std::ostream& out) {
    for (const OptionHelp& option : table) {
        out << "  ";
        if (!option.alias.empty()) out << option.alias << ", ";
        out << option.name;
        if (!option.value.empty()) out << ' ' << option.value;
        out << '\n';
        PrintIndented(option.meaning, out);
        out << kExampleIndent << "Example: " << option.example << '\n';
    }
}

}  // namespace veldorin
