// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_phases/array_mode.h"

#include <array>
#include <charconv>
#include <cmath>

#include "engine/checked_arithmetic.h"
#include "engine/failure.h"
#include "engine/format.h"
#include "engine/input_preparation.h"
#include "engine/numeric_text.h"

namespace veldorin {

namespace {

bool IsWeight(ArrayParameter parameter) { return parameter <= ArrayParameter::C6; }
bool IsTime(ArrayParameter parameter) {
    return parameter >= ArrayParameter::T1 && parameter <= ArrayParameter::T6;
}

// The Lorentzian, 0..5, of a weight or a time.
int LorentzianOf(ArrayParameter parameter) {
    const int index = static_cast<int>(parameter);
    return IsWeight(parameter) ? index : index - static_cast<int>(ArrayParameter::T1);
}

std::pair<std::string, std::string> DoubleRange(const std::string& text) {
    return {text, FormatDouble(ReadDouble(text) / 10.0)};
}

std::pair<std::string, std::string> SingleRange(const std::string& text) {
    return {text, FormatSingle(StoreSingle(ReadSingle(text) / 10.0))};
}

// The weight of pass k, the other weights as typed, all divided by their sum.
PassSetting ApplyWeight(const ModelTexts& model, int arrayed, double factor,
                        Lorentzians& lorentzians) {
    auto& weights = lorentzians.weights;
    weights[arrayed] = StoreSingle(ReadSingle(model.weights[arrayed]) * factor);
    const bool last = weights[arrayed] == 0.0f;
    float sum = weights[arrayed];
    for (int i = 0; i < kLorentzianCount; ++i) {
        if (i == arrayed) continue;
        weights[i] = ReadSingle(model.weights[i]);
        sum = StoreSingle(static_cast<double>(sum) + weights[i]);
    }
    // No spectral density is left to draw: the run ends here, as a run whose typed
    // weights sum to 0 stops, without a failure.
    if (sum == 0.0f) return PassSetting::EndsRun;
    weights = InputPreparation::Normalise(weights, sum);
    return last ? PassSetting::LastPass : PassSetting::Set;
}

PassSetting LastWhenZero(float value) {
    return value == 0.0f ? PassSetting::LastPass : PassSetting::Set;
}

}  // namespace

// Evaluated as written, in double: 1.1 - 0.1 k is not (11 - k)/10 for every k
// (k = 8 gives 0.30000000000000004), but 0.1 * 11 rounds to the double nearest
// 1.1, so the last factor is exactly 0 and the last curve is that of value 0.
double ArrayFactor(int pass) { return 1.1 - 0.1 * pass; }

std::pair<std::string, std::string> ArrayRangeTexts(const ModelTexts& model,
                                                    ArrayParameter parameter) {
    if (IsWeight(parameter)) return DoubleRange(model.weights[LorentzianOf(parameter)]);
    if (IsTime(parameter)) return DoubleRange(model.times[LorentzianOf(parameter)]);
    if (parameter == ArrayParameter::Csa) return SingleRange(model.csa);
    return SingleRange(model.rex);
}

std::string ArrayPassLabel(const ModelTexts& model, ArrayParameter parameter, int pass) {
    const double factor = ArrayFactor(pass);
    const std::string name = std::string(RowOf(parameter).name) + " = ";
    if (IsWeight(parameter)) {
        const std::string& text = model.weights[LorentzianOf(parameter)];
        return name + FormatSingle(StoreSingle(ReadSingle(text) * factor));
    }
    if (IsTime(parameter)) {
        const std::string& text = model.times[LorentzianOf(parameter)];
        return name + FormatSingle(StoreSingle(ReadSingle(text) * factor)) + " ps";
    }
    if (parameter == ArrayParameter::Csa) {
        // A square root has no short decimal form: four significant digits name it.
        std::array<char, 32> digits{};
        const auto end =
            std::to_chars(digits.data(), digits.data() + digits.size(),
                          ReadDouble(model.csa) * std::sqrt(factor), std::chars_format::general, 4)
                .ptr;
        return name + std::string(digits.data(), end) + " ppm";
    }
    return name + FormatSingle(StoreSingle(ReadDouble(model.rex) * factor)) + " 1/s";
}

PassSetting ApplyArraySetting(const ModelTexts& model, ArrayParameter parameter, int pass,
                              WorkingValues& values) {
    const double factor = ArrayFactor(pass);
    if (IsWeight(parameter)) {
        return ApplyWeight(model, LorentzianOf(parameter), factor, values.lorentzians);
    }
    if (IsTime(parameter)) {
        const int lorentzian = LorentzianOf(parameter);
        float& time = values.lorentzians.times[lorentzian];
        time = StoreSingle(ReadSingle(model.times[lorentzian]) * factor);
        return LastWhenZero(time);
    }
    if (parameter == ArrayParameter::Csa) {
        // The squared anisotropy is scaled: pass k shows the anisotropy value sqrt(f(k)).
        values.csaFactor = InputPreparation::CsaFactorOf(ReadDouble(model.csa), factor);
        return PassSetting::Set;
    }
    values.rexScale = InputPreparation::RexScaleOf(ReadDouble(model.rex), factor);
    return PassSetting::Set;
}

}  // namespace veldorin
