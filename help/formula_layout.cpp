// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/formula_layout.h"

#include <QFontMetricsF>
#include <algorithm>

namespace veldorin {

namespace {

using Node = FormulaNode;
using Kind = FormulaNode::Kind;

// Relative sizes of the main level, scripts and scripts of scripts.
constexpr qreal kLevelScale[] = {1.0, 0.7, 0.55};
constexpr int kDeepestLevel = 2;
// The summation sign is this much larger than the text around it.
constexpr qreal kSumScale = 1.45;

QFont Scaled(const QFont& font, qreal factor) {
    QFont scaled = font;
    if (font.pixelSize() > 0) {
        scaled.setPixelSize(std::max(1, qRound(font.pixelSize() * factor)));
    } else {
        scaled.setPointSizeF(font.pointSizeF() * factor);
    }
    return scaled;
}

// The fonts of one script level and the measures that placement is expressed in.
struct ScriptLevel {
    ScriptLevel(const QFont& base, int depth)
        : depth(depth), upright(Scaled(base, kLevelScale[depth])) {
        italic = upright;
        italic.setItalic(true);
        const QFontMetricsF metrics(upright);
        em = metrics.height() * 0.85;
        // Fraction bars, minus signs and brackets centre on the height of the plus sign.
        axis = -metrics.tightBoundingRect(QStringLiteral("+")).center().y();
        rule = std::max(em * 0.055, 0.5);
    }

    ScriptLevel Smaller(const QFont& base) const {
        return ScriptLevel(base, std::min(depth + 1, kDeepestLevel));
    }

    int depth;
    QFont upright;
    QFont italic;
    qreal em = 0;
    qreal axis = 0;
    qreal rule = 0;
};

// Measures a node and, when given a list of marks, places the node's marks into it with
// its baseline origin at `at`.
class FormulaSetter {
public:
    explicit FormulaSetter(const QFont& base) : base_(base) {}

    FormulaExtent Set(const Node& node, const ScriptLevel& level, std::vector<FormulaMark>* marks,
                      QPointF at) const {
        switch (node.kind) {
            case Kind::Text: return SetText(node, level, marks, at);
            case Kind::Row: return SetRow(node, level, marks, at);
            case Kind::Scripts: return SetScripts(node, level, marks, at);
            case Kind::Fraction: return SetFraction(node, level, marks, at);
            case Kind::Sum: return SetSum(node, level, marks, at);
            case Kind::Fence: return SetFence(node, level, marks, at);
            case Kind::Space: return {node.em * level.em, 0, 0};
        }
        return {};
    }

private:
    FormulaExtent Measure(const Node& node, const ScriptLevel& level) const {
        return Set(node, level, nullptr, {});
    }

    static FormulaExtent SetText(const Node& node, const ScriptLevel& level,
                                 std::vector<FormulaMark>* marks, QPointF at) {
        const QFont& font = node.italic ? level.italic : level.upright;
        const QFontMetricsF metrics(font);
        const QRectF ink = metrics.tightBoundingRect(node.text);
        FormulaExtent extent{metrics.horizontalAdvance(node.text), std::max(-ink.top(), 0.0),
                             std::max(ink.bottom(), 0.0)};
        if (marks) marks->push_back(TextRun{at, font, node.text});
        return extent;
    }

    FormulaExtent SetRow(const Node& node, const ScriptLevel& level,
                         std::vector<FormulaMark>* marks, QPointF at) const {
        FormulaExtent extent;
        for (const Node& child : node.children) {
            const FormulaExtent part = Set(child, level, marks, at + QPointF(extent.width, 0));
            extent.width += part.width;
            extent.ascent = std::max(extent.ascent, part.ascent);
            extent.descent = std::max(extent.descent, part.descent);
        }
        return extent;
    }

    FormulaExtent SetScripts(const Node& node, const ScriptLevel& level,
                             std::vector<FormulaMark>* marks, QPointF at) const {
        const Node& base = node.children[0];
        const Node& subscript = node.children[1];
        const Node& superscript = node.children[2];
        const ScriptLevel small = level.Smaller(base_);
        const FormulaExtent baseExtent = Set(base, level, marks, at);
        const FormulaExtent lower = Measure(subscript, small);
        const FormulaExtent upper = Measure(superscript, small);
        const bool hasSubscript = !subscript.children.empty();
        const bool hasSuperscript = !superscript.children.empty();

        qreal up = std::max(level.em * 0.36, baseExtent.ascent - upper.ascent * 0.6);
        qreal down = std::max(level.em * 0.2, baseExtent.descent - lower.descent * 0.4);
        if (hasSubscript && hasSuperscript) {
            const qreal gap = (up - upper.descent) - (lower.ascent - down);
            const qreal wanted = level.em * 0.12;
            if (gap < wanted) down += wanted - gap;
        }
        // Italic letters lean to the right: move a superscript clear of the slant.
        const qreal lean = base.kind == Kind::Text && base.italic ? level.em * 0.06 : 0.0;
        const qreal x = at.x() + baseExtent.width;
        if (marks) {
            if (hasSubscript) Set(subscript, small, marks, QPointF(x, at.y() + down));
            if (hasSuperscript) Set(superscript, small, marks, QPointF(x + lean, at.y() - up));
        }
        FormulaExtent extent = baseExtent;
        extent.width +=
            std::max(hasSubscript ? lower.width : 0.0, hasSuperscript ? upper.width + lean : 0.0) +
            level.em * 0.04;
        if (hasSuperscript) extent.ascent = std::max(extent.ascent, up + upper.ascent);
        if (hasSubscript) extent.descent = std::max(extent.descent, down + lower.descent);
        return extent;
    }

    FormulaExtent SetFraction(const Node& node, const ScriptLevel& level,
                              std::vector<FormulaMark>* marks, QPointF at) const {
        const Node& numerator = node.children[0];
        const Node& denominator = node.children[1];
        const FormulaExtent top = Measure(numerator, level);
        const FormulaExtent bottom = Measure(denominator, level);
        const qreal pad = level.em * 0.1;
        const qreal gap = level.em * 0.14;
        const qreal width = std::max(top.width, bottom.width) + 2 * pad;
        const qreal up = level.axis + level.rule / 2 + gap + top.descent;
        const qreal down = bottom.ascent + gap + level.rule / 2 - level.axis;
        if (marks) {
            Set(numerator, level, marks, QPointF(at.x() + (width - top.width) / 2, at.y() - up));
            Set(denominator, level, marks,
                QPointF(at.x() + (width - bottom.width) / 2, at.y() + down));
            marks->push_back(
                FractionBar{QRectF(at.x() + pad * 0.5, at.y() - level.axis - level.rule / 2,
                                   width - pad, level.rule)});
        }
        return {width, up + top.ascent, down + bottom.descent};
    }

    FormulaExtent SetSum(const Node& node, const ScriptLevel& level,
                         std::vector<FormulaMark>* marks, QPointF at) const {
        const Node& below = node.children[0];
        const Node& above = node.children[1];
        const ScriptLevel small = level.Smaller(base_);
        QFont signFont = Scaled(level.upright, kSumScale);
        const QString sign(QChar(0x2211));
        const QFontMetricsF metrics(signFont);
        const QRectF ink = metrics.tightBoundingRect(sign);
        const FormulaExtent lower = Measure(below, small);
        const FormulaExtent upper = Measure(above, small);
        const qreal gap = level.em * 0.12;
        const qreal width = std::max({ink.width(), lower.width, upper.width}) + level.em * 0.15;
        // The sign is centred on the axis of the surrounding text.
        const qreal signBaseline = -level.axis - ink.center().y();
        const qreal signTop = signBaseline + ink.top();  // below the baseline: positive
        const qreal signBottom = signBaseline + ink.bottom();
        const qreal lowerBaseline = signBottom + gap + lower.ascent;
        const qreal upperBaseline = signTop - gap - upper.descent;
        if (marks) {
            marks->push_back(TextRun{
                QPointF(at.x() + (width - ink.width()) / 2 - ink.left(), at.y() + signBaseline),
                signFont, sign});
            if (!below.children.empty()) {
                Set(below, small, marks,
                    QPointF(at.x() + (width - lower.width) / 2, at.y() + lowerBaseline));
            }
            if (!above.children.empty()) {
                Set(above, small, marks,
                    QPointF(at.x() + (width - upper.width) / 2, at.y() + upperBaseline));
            }
        }
        FormulaExtent extent{width, -signTop, signBottom};
        if (!below.children.empty()) extent.descent = lowerBaseline + lower.descent;
        if (!above.children.empty()) extent.ascent = -(upperBaseline - upper.ascent);
        return extent;
    }

    FormulaExtent SetFence(const Node& node, const ScriptLevel& level,
                           std::vector<FormulaMark>* marks, QPointF at) const {
        const Node& content = node.children[0];
        const FormulaExtent inner = Measure(content, level);
        // Symmetric about the axis, a little taller than what it encloses.
        const qreal half =
            std::max(inner.ascent - level.axis, inner.descent + level.axis) + level.em * 0.08;
        const qreal top = level.axis + half;     // above the baseline
        const qreal bottom = half - level.axis;  // below the baseline
        const qreal delimiter = level.em * 0.32;
        const qreal gap = level.em * 0.06;
        if (marks) {
            const QRectF left(at.x(), at.y() - top, delimiter, top + bottom);
            marks->push_back(StretchedDelimiter{node.text[0], left, level.rule});
            Set(content, level, marks, QPointF(at.x() + delimiter + gap, at.y()));
            const QRectF right(at.x() + delimiter + 2 * gap + inner.width, at.y() - top, delimiter,
                               top + bottom);
            marks->push_back(StretchedDelimiter{node.text[1], right, level.rule});
        }
        return {inner.width + 2 * (delimiter + gap), std::max(top, inner.ascent),
                std::max(bottom, inner.descent)};
    }

    QFont base_;
};

}  // namespace

FormulaExtent MeasureFormula(const FormulaNode& root, const QFont& font) {
    return FormulaSetter(font).Set(root, ScriptLevel(font, 0), nullptr, {});
}

std::vector<FormulaMark> LayOutFormula(const FormulaNode& root, const QFont& font,
                                       QPointF baseline) {
    std::vector<FormulaMark> marks;
    FormulaSetter(font).Set(root, ScriptLevel(font, 0), &marks, baseline);
    return marks;
}

}  // namespace veldorin
