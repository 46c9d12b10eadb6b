// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/formula.h"

namespace veldorin {

Formula::Formula(const QString& markup, FormulaMode mode) {
    ParsedFormula parsed = ParseFormulaMarkup(markup, mode);
    root_ = std::move(parsed.root);
    wellFormed_ = parsed.wellFormed;
}

FormulaExtent Formula::Measure(const QFont& font) const { return MeasureFormula(root_, font); }

std::vector<FormulaMark> Formula::LayOut(QPointF baseline, const QFont& font) const {
    return LayOutFormula(root_, font, baseline);
}

namespace {

// The words of markup: split at spaces that stand outside every brace.
QStringList SplitWords(const QString& markup) {
    QStringList words;
    QString word;
    int depth = 0;
    for (const QChar character : markup) {
        if (character == u'{') ++depth;
        if (character == u'}') --depth;
        if (character == u' ' && depth == 0) {
            if (!word.isEmpty()) words.append(word);
            word.clear();
        } else {
            word.append(character);
        }
    }
    if (!word.isEmpty()) words.append(word);
    return words;
}

}  // namespace

QStringList WrapMarkup(const QString& markup, FormulaMode mode, const QFont& font, qreal width) {
    QStringList lines;
    QString line;
    for (const QString& word : SplitWords(markup)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && Formula(longer, mode).Measure(font).width > width) {
            lines.append(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) lines.append(line);
    return lines;
}

}  // namespace veldorin
