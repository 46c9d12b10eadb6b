// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "engine/failure.h"

class QLabel;

namespace veldorin {

class ResultsList;

// Makes a recalculation that ended early visible without a dialog: the results list
// is greyed while it does not hold the current table, and one line under it says why.
// A run that stops because the weights do not sum above zero changes nothing here.
class RunReport {
public:
    RunReport(ResultsList& list, QLabel& line);

    // The table phase failed: the list keeps an old or partial table.
    void TableFailed(FailureReason reason);
    // The table is complete but the curves are not.
    void CurvesFailed(FailureReason reason);
    // The table is current again.
    void TableCompleted();

private:
    void Say(const QString& text);

    ResultsList& list_;
    QLabel& line_;
};

}  // namespace veldorin
