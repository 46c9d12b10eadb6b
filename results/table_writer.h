// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QString>

#include "engine/results_table.h"

namespace veldorin {

class ResultsList;

// Sends the results table to the list and to "table.dat" line by line. The file is
// opened before the list is touched, so a file that cannot be created leaves the
// previous table in the list. Each line goes to the file as one byte per character
// followed by CR LF.
class TableWriter final : public TableSink {
public:
    TableWriter(ResultsList& list, const QString& path);

    bool Begin() override;
    bool AddLine(const std::string& line) override;
    bool Finish() override;

private:
    ResultsList& list_;
    QFile file_;
};

}  // namespace veldorin
