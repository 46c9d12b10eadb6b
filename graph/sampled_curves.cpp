// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/sampled_curves.h"

#include <array>
#include <charconv>

namespace veldorin {

namespace {

void AppendValue(std::string& text, double value) {
    std::array<char, 32> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    text.append(digits.data(), result.ptr);
}

// A field with a comma or a quote is quoted, its quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

}  // namespace

std::string SampledCurve::Heading() const {
    std::string heading = quantity;
    if (!unit.empty()) heading += " (" + unit + ")";
    if (!parameter.empty()) heading += ", " + parameter;
    return heading;
}

std::string CurvesCsv(const SampledCurves& curves) {
    std::string text = CsvField(curves.horizontalHeading);
    for (const SampledCurve& curve : curves.curves) text += "," + CsvField(curve.Heading());
    text += '\n';
    for (std::size_t sample = 0; sample < curves.horizontal.size(); ++sample) {
        AppendValue(text, curves.horizontal[sample]);
        for (const SampledCurve& curve : curves.curves) {
            text += ',';
            if (sample < curve.values.size()) AppendValue(text, curve.values[sample]);
        }
        text += '\n';
    }
    return text;
}

}  // namespace veldorin
