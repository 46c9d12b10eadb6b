// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/recording_sink.h"

namespace veldorin::test {

bool RecordingSink::Begin() {
    ++begins;
    if (refuseBegin) return false;
    lines.clear();
    return true;
}

bool RecordingSink::AddLine(const std::string& line) {
    if (refuseLineAt && *refuseLineAt == lines.size()) return false;
    lines.push_back(line);
    return true;
}

bool RecordingSink::Finish() {
    ++finishes;
    return !refuseFinish;
}

}  // namespace veldorin::test
