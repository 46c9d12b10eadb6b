// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The tree that formula markup parses into (formula_parser.h) and that the layout measures
// and places (formula_layout.h).

#include <QString>
#include <vector>

namespace veldorin {

struct FormulaNode {
    enum class Kind { Text, Row, Scripts, Fraction, Sum, Fence, Space };
    Kind kind = Kind::Row;
    QString text;         // Text: the characters; Fence: opening and closing delimiter
    bool italic = false;  // Text
    qreal em = 0;         // Space: width in em
    // Row: the items; Scripts: base, subscript, superscript; Fraction: numerator,
    // denominator; Sum: lower limit, upper limit; Fence: the enclosed row.
    std::vector<FormulaNode> children;
};

}  // namespace veldorin
