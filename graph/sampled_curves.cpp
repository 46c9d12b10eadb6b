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

}  // namespace

std::string CurvesCsv(const SampledCurves& curves) {
    std::string text = curves.horizontalHeading;
    for (const SampledCurve& curve : curves.curves) text += "," + curve.heading;
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
