// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "engine/failure.h"
#include "run_phases/run_phases.h"

namespace veldorin {
class MainWindow;
}

namespace veldorin::test {

// What the table phase of a recalculation should have left behind, worked out by the
// engine alone from the texts the window shows now.
struct ExpectedTable {
    RunOutcome::Status status = RunOutcome::Status::Completed;
    std::optional<FailureReason> failure;
    bool failedAfterOpening = false;  // the table file was opened before the failure
    QStringList lines;                // what the list shows after a completed table
    QString filePath;                 // where "table.dat" goes
};

// Reads the window's inputs as its own recalculation does and runs the engine on them.
// Kept for a whole run of the window, like the window's own calculation, which carries
// the central nucleus's constant from one run to the next.
class TableOracle {
public:
    ExpectedTable Expect(const MainWindow& window);

private:
    RunPhases phases_;
};

}  // namespace veldorin::test
