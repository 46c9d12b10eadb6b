// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QListWidget>
#include <optional>
#include <string>

#include "engine/results_table.h"
#include "ui/twips.h"

namespace veldorin {

// The list of the results table. Its lines hold tab characters; they are
// painted as aligned columns. A stale list (the last recalculation did not complete
// its table) is painted greyed, so that an old table does not look current.
class ResultsList : public QListWidget {
    Q_OBJECT

public:
    // Pixels between the list's left edge and the first column.
    static constexpr int kTextInset = 2;

    ResultsList(const TwipScale& scale, QWidget* parent);

    void AppendLine(const std::string& line);
    QStringList Lines() const;

    // The tooltips of the table's rows, after the header; a stale list shows none.
    void SetRowTooltips(const RowContributionTexts& texts);

    void SetStale(bool stale);
    bool stale() const { return stale_; }

    // Where the columns after the first start, in pixels from the text's left edge:
    // the design's tab stops, pushed right where a longer field needs the room.
    QList<qreal> ColumnStops() const;

private:
    // The stops measured from the lines and font they were last measured for: every row
    // painted asks for them, and measuring every field of every line takes long.
    struct MeasuredStops {
        QStringList lines;
        QFont font;
        QList<qreal> stops;
    };

    QList<qreal> MeasureColumnStops(const QStringList& lines) const;

    TwipScale scale_;
    bool stale_ = false;
    mutable std::optional<MeasuredStops> measuredStops_;
};

}  // namespace veldorin
