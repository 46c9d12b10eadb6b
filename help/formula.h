#pragma once

// A one-line formula set from a small markup and drawn with QPainter as text runs and
// vector strokes, so that it stays sharp at any scale of the painter.
//
// Markup:
//   In math mode letters are italic (upper-case Greek stays upright), everything else
//   upright; in text mode everything is upright.
//   \rm{...}              upright group          \it{...}   math-mode group
//   x_{...}  x^{...}      sub- and superscript of the item before; one character needs no braces
//   {...}                 a group, for instance as the base of a script
//   \frac{num}{den}       fraction with a bar
//   \sum{below}{above}    summation sign with limits under and over it (either may be empty)
//   \left( ... \right)    brackets ( ) or [ ] stretched to what they enclose
//   \,  \;  \quad         spaces of 1/6, 5/18 and 1 em

#include <QFont>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;

namespace veldorin {

enum class FormulaMode { Math, Text };

// Horizontal advance and the extent above and below the baseline, in the painter's units.
struct FormulaExtent {
    qreal width = 0;
    qreal ascent = 0;
    qreal descent = 0;
};

class Formula {
public:
    explicit Formula(const QString& markup, FormulaMode mode = FormulaMode::Math);

    // False when the markup has an unknown command, a missing brace or a stray \right.
    bool wellFormed() const { return wellFormed_; }

    // `font` sets the face and size of the main level; scripts and limits are smaller.
    FormulaExtent Measure(const QFont& font) const;
    void Draw(QPainter& painter, QPointF baseline, const QFont& font) const;

    struct Node {
        enum class Kind { Text, Row, Scripts, Fraction, Sum, Fence, Space };
        Kind kind = Kind::Row;
        QString text;         // Text: the characters; Fence: opening and closing delimiter
        bool italic = false;  // Text
        qreal em = 0;         // Space: width in em
        // Row: the items; Scripts: base, subscript, superscript; Fraction: numerator,
        // denominator; Sum: lower limit, upper limit; Fence: the enclosed row.
        std::vector<Node> children;
    };

private:
    Node root_;
    bool wellFormed_ = true;
};

// Breaks markup into lines no wider than `width`, at spaces outside braces; a word wider
// than `width` stands on a line of its own.
QStringList WrapMarkup(const QString& markup, FormulaMode mode, const QFont& font, qreal width);

}  // namespace veldorin
