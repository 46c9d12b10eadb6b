// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/run_report.h"

#include <QFontMetrics>
#include <QLabel>

#include "results/results_list.h"

namespace veldorin {

namespace {

QString Reason(std::string_view prefix, FailureReason reason) {
    const std::string_view described = Describe(reason);
    return QString::fromLatin1(prefix.data(), static_cast<qsizetype>(prefix.size())) +
           QString::fromLatin1(described.data(), static_cast<qsizetype>(described.size()));
}

}  // namespace

RunReport::RunReport(ResultsList& list, QLabel& line) : list_(list), line_(line) {}

void RunReport::TableFailed(FailureReason reason) {
    list_.SetStale(true);
    Say(Reason("not recalculated: ", reason));
}

void RunReport::CurvesFailed(FailureReason reason) { Say(Reason("graph incomplete: ", reason)); }

void RunReport::TableCompleted() {
    list_.SetStale(false);
    Say({});
}

void RunReport::Say(const QString& text) {
    // The strip is one line wide: a long reason is shortened here and given in full
    // as the tooltip.
    line_.setText(QFontMetrics(line_.font()).elidedText(text, Qt::ElideRight, line_.width()));
    line_.setToolTip(text);
}

}  // namespace veldorin
