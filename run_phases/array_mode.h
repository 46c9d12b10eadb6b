// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <utility>

#include "engine/model.h"
#include "engine/relaxation.h"
#include "run_phases/array_parameter.h"

namespace veldorin {

// Array mode draws one curve per value of one parameter, scaled from its typed
// value down to zero in ten steps.
inline constexpr int kArrayPassCount = 11;

// f(k) = 1.1 - 0.1 k in double for pass k = 1..11.
double ArrayFactor(int pass);

// The range shown beside the list: the parameter's text as typed and one tenth of
// its value, a weight's or time's in double, the CSA's or Rex's in single. Throws
// CalculationError for a text that does not read as a number.
std::pair<std::string, std::string> ArrayRangeTexts(const ModelTexts& model,
                                                    ArrayParameter parameter);

// What the setting of a pass means for the passes.
enum class PassSetting {
    Set,       // draw this pass, then the next
    LastPass,  // the scaled weight or time is 0: draw this pass, then end
    EndsRun,   // the weights sum to 0 (the only weight arrayed down to 0): end, drawing nothing
};

// The value pass k gives the parameter, named as in the list with its unit, e.g.
// "c1 = 0.125", "t2 = 700 ps", "Rex = 4.5 1/s". For the CSA, whose square is scaled, the
// anisotropy the pass amounts to. Throws CalculationError for a text that does not read
// as a number.
std::string ArrayPassLabel(const ModelTexts& model, ArrayParameter parameter, int pass);

// Sets the parameter of pass k in the working values, reading its text afresh. A
// weight is scaled and all six renormalised over the typed values; a time, the
// squared anisotropy or the exchange scale is scaled. Throws CalculationError for a
// conversion error.
PassSetting ApplyArraySetting(const ModelTexts& model, ArrayParameter parameter, int pass,
                              WorkingValues& values);

}  // namespace veldorin
