// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein_window/protein_results_model.h"

#include <cmath>

namespace veldorin {

void ProteinResultsModel::Show(std::vector<std::string> headings, std::vector<ResultRow> rows) {
    beginResetModel();
    headings_.clear();
    for (const std::string& heading : headings) headings_ << QString::fromStdString(heading);
    rows_ = std::move(rows);
    endResetModel();
}

int ProteinResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ProteinResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant ProteinResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const ResultCell& cell =
        rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole: return QString::fromStdString(cell.text);
        case kOrderRole: return cell.order;
        default: return {};
    }
}

QVariant ProteinResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return section < headings_.size() ? headings_[section] : QVariant();
}

bool ResultsSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const double a = left.data(ProteinResultsModel::kOrderRole).toDouble();
    const double b = right.data(ProteinResultsModel::kOrderRole).toDouble();
    const bool ascending = sortOrder() == Qt::AscendingOrder;
    // Empty cells last whichever way: the proxy turns the answer round when descending.
    if (std::isnan(a) || std::isnan(b)) {
        if (std::isnan(a) && std::isnan(b)) return left.row() < right.row();
        return std::isnan(a) != ascending;
    }
    if (a != b) return a < b;
    return left.data().toString() < right.data().toString();
}

}  // namespace veldorin
