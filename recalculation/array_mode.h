#pragma once

#include <optional>
#include <string>
#include <utility>

#include "engine/model.h"
#include "engine/relaxation.h"

namespace veldorin {

// Array mode draws one curve per value of one parameter, scaled from its typed
// value down to zero in ten steps. Parameters are the indices of the array list:
// 0..5 the weights c1..c6, 6..11 the times t1..t6, 12 the CSA, 13 the Rex.
inline constexpr int kArrayPassCount = 11;

// f(k) = 1.1 - 0.1 k in double for pass k = 1..11.
double ArrayFactor(int pass);

// The range shown beside the list: the parameter's text as typed and one tenth of
// its value, a weight's or time's in double, the CSA's or Rex's in single. Nothing
// for an index outside the list. Throws CalculationError for a text that does not
// read as a number.
std::optional<std::pair<std::string, std::string>> ArrayRangeTexts(const ModelTexts& model,
                                                                   int parameter);

// Sets the parameter of pass k in the working values, reading its text afresh. A
// weight is scaled and all six renormalised over the typed values; a time, the
// squared anisotropy or the exchange scale is scaled. Returns true when the
// scaled weight or time is 0, which makes this pass the last one. Throws
// CalculationError: NoArrayParameter for an index outside the list, a conversion
// error, or a zero sum of weights.
bool ApplyArraySetting(const ModelTexts& model, int parameter, int pass, WorkingValues& values);

}  // namespace veldorin
