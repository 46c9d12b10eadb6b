// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Formula markup, a small subset of TeX:
//   In math mode letters are italic (upper-case Greek stays upright), everything else
//   upright; in text mode everything is upright.
//   \rm{...}              upright group          \it{...}   math-mode group
//   x_{...}  x^{...}      sub- and superscript of the item before; one character needs no braces
//   {...}                 a group, for instance as the base of a script
//   \frac{num}{den}       fraction with a bar
//   \sum{below}{above}    summation sign with limits under and over it (either may be empty)
//   \left( ... \right)    brackets ( ) or [ ] stretched to what they enclose
//   \,  \;  \quad         spaces of 1/6, 5/18 and 1 em

#include <QString>

#include "help/formula_node.h"

namespace veldorin {

enum class FormulaMode { Math, Text };

struct ParsedFormula {
    FormulaNode root;  // a row
    // False when the markup has an unknown command, a missing brace or a stray \right;
    // the tree then holds what could be read.
    bool wellFormed = true;
};

ParsedFormula ParseFormulaMarkup(const QString& markup, FormulaMode mode);

}  // namespace veldorin
