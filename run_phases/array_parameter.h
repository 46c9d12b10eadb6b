// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace veldorin {

// The parameter array mode scales: the weights c1..c6, the times t1..t6, the CSA and
// the Rex.
enum class ArrayParameter { C1, C2, C3, C4, C5, C6, T1, T2, T3, T4, T5, T6, Csa, Rex };

// The array parameter list, a row per parameter in the list's order: the name the list
// shows, a model file stores and a pass's label begins with.
struct ArrayParameterRow {
    ArrayParameter parameter;
    const char* name;
};

inline constexpr std::array<ArrayParameterRow, 14> kArrayParameterTable{{
    {ArrayParameter::C1, "c1"},
    {ArrayParameter::C2, "c2"},
    {ArrayParameter::C3, "c3"},
    {ArrayParameter::C4, "c4"},
    {ArrayParameter::C5, "c5"},
    {ArrayParameter::C6, "c6"},
    {ArrayParameter::T1, "t1"},
    {ArrayParameter::T2, "t2"},
    {ArrayParameter::T3, "t3"},
    {ArrayParameter::T4, "t4"},
    {ArrayParameter::T5, "t5"},
    {ArrayParameter::T6, "t6"},
    {ArrayParameter::Csa, "CSA"},
    {ArrayParameter::Rex, "Rex"},
}};

// A parameter's value is its place in the list, so that the list's index is the parameter.
static_assert([] {
    for (std::size_t index = 0; index < kArrayParameterTable.size(); ++index) {
        if (kArrayParameterTable[index].parameter != static_cast<ArrayParameter>(index)) {
            return false;
        }
    }
    return true;
}());

constexpr const ArrayParameterRow& RowOf(ArrayParameter parameter) {
    return kArrayParameterTable[static_cast<std::size_t>(parameter)];
}

// The parameter at an index of the array parameter list; nothing for -1 (no entry
// selected) or an index outside the list.
constexpr std::optional<ArrayParameter> ArrayParameterAt(int listIndex) {
    if (listIndex < 0 || listIndex >= static_cast<int>(kArrayParameterTable.size())) {
        return std::nullopt;
    }
    return kArrayParameterTable[static_cast<std::size_t>(listIndex)].parameter;
}

}  // namespace veldorin
