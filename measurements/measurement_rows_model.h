// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "engine/measurement.h"

namespace veldorin {

// The Measurements window's rows as a table: the four cells of each row as typed, its bad
// cells marked with the reason; the model's value in the row's own unit (a T1 or T2 as a
// time, beside the measured time) and the difference in units of the uncertainty, or why
// the row is left out of χ². One empty row at the end takes what is typed next. A cell is
// read only when the view shows it, so that many rows cost no more to show than a few.
class MeasurementRowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kCalculatedColumn = kMeasurementColumnCount;
    static constexpr int kResidualColumn = kMeasurementColumnCount + 1;

    explicit MeasurementRowsModel(QObject* parent);

    // New rows; the model's values are cleared until the next comparisons.
    void ShowRows(std::vector<MeasurementTexts> rows);
    // The model's values beside the rows, in the rows' order.
    void ShowComparisons(Comparisons comparisons);
    // The rows as they are now, the empty ones left out.
    std::vector<MeasurementTexts> Rows() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // A cell's text was changed through the view.
    void cellEdited();

private:
    QVariant TypedCell(int row, int column, int role) const;
    QVariant ComparedCell(int row, int column, int role) const;
    void RowsChanged(int first, int last);

    std::vector<MeasurementTexts> rows_;
    std::vector<std::optional<Comparison>> compared_;
};

}  // namespace veldorin
