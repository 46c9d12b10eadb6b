// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target: arbitrary bytes as the numeric-text rule's input and, split at
// newlines, as the model's texts for a whole recalculation.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/numeric_text.h"
#include "run_phases/run_phases.h"
#include "tests/support/recording_sink.h"

namespace veldorin {
namespace {

// Any text the rule accepts must convert (an overflow is the only failure left).
void CheckNumericRule(std::string_view text) {
    const bool numeric = IsNumeric(text);
    for (const bool single : {false, true}) {
        try {
            if (single) {
                ReadSingle(text);
            } else {
                ReadDouble(text);
            }
            if (!numeric) __builtin_trap();
        } catch (const CalculationError& error) {
            if (numeric && error.reason != FailureReason::ConversionOverflow) __builtin_trap();
            if (!numeric && error.reason != FailureReason::NotNumeric) __builtin_trap();
        }
    }
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\n') {
            parts.emplace_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

void RunModel(const std::vector<std::string>& texts, std::uint8_t flags) {
    ModelTexts model = DefaultModel();
    std::size_t next = 0;
    const auto take = [&](std::string& text) {
        if (next < texts.size()) text = texts[next++];
    };
    for (auto& slot : model.slots) {
        take(slot.nucleus);
        take(slot.distance);
        take(slot.abundance);
    }
    for (auto& weight : model.weights) take(weight);
    for (auto& time : model.times) take(time);
    take(model.csa);
    take(model.rex);
    model.tableMode = (flags & 0x80) != 0 ? TableMode::Times : TableMode::Rates;

    GraphSettings settings;
    settings.plotMode = PlotModeAt(flags % 6 - 1);
    settings.arrayOn = (flags & 0x40) != 0;
    settings.arrayParameter = ArrayParameterAt((flags >> 2) % 15 - 1);
    RunPhases phases;
    test::RecordingSink sink;
    if (phases.RunTable(model, settings, sink).outcome.status == RunOutcome::Status::Completed) {
        phases.RunCurves(model, settings);
    }
}

}  // namespace
}  // namespace veldorin

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    veldorin::CheckNumericRule(bytes);
    const auto texts = veldorin::SplitLines(bytes);
    for (const auto& text : texts) veldorin::CheckNumericRule(text);
    veldorin::RunModel(texts, data[0]);
    return 0;
}
