// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QStringList>

#include "protein/protein_results.h"

namespace veldorin {

// The results table's rows as a model for a view: one residue a row. A column sorts by
// its values (residues in sequence order), an empty cell last.
class ProteinResultsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kOrderRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void Show(std::vector<std::string> headings, std::vector<ResultRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList headings_;
    std::vector<ResultRow> rows_;
};

// Sorts by the order the model gives, empty cells last whichever way.
class ResultsSortModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

}  // namespace veldorin
