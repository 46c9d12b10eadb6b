// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/measurement_rows_model.h"

#include <QBrush>
#include <QColor>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace veldorin {
namespace {

const QColor kBadCell(255, 200, 200);

bool IsTime(Quantity quantity) { return ComparedQuantity(quantity) != quantity; }

// A value as the window shows it: in its format, or with an exponent where a residual
// would spell out hundreds of digits (a value typed absurdly large, an uncertainty
// absurdly small); "–" where it overflowed.
QString Shown(double value, char format, int precision) {
    if (!std::isfinite(value)) return QStringLiteral("–");
    if (format == 'f' && std::abs(value) >= 1e6) return QString::number(value, 'g', 3);
    return QString::number(value, format, precision);
}

// The model's value in the unit the row was measured in: a time for a T1 or T2.
QString CalculatedText(const Comparison& compared, Quantity quantity) {
    const double value = IsTime(quantity) ? 1.0 / compared.calculated : compared.calculated;
    if (!std::isfinite(value)) return QStringLiteral("–");
    switch (quantity) {
        case Quantity::R1:
        case Quantity::R2: return Shown(value, 'g', 6) + QStringLiteral(" 1/s");
        case Quantity::T1:
        case Quantity::T2: return Shown(value, 'g', 6) + QStringLiteral(" s");
        case Quantity::Noe: break;
    }
    return Shown(value, 'g', 6);
}

// Times are compared as their rates; the sign is turned so that it is that of the
// calculated time minus the measured one, as the row shows them.
QString ResidualText(const Comparison& compared, Quantity quantity) {
    return Shown(IsTime(quantity) ? -compared.residual : compared.residual, 'f', 2);
}

}  // namespace

MeasurementRowsModel::MeasurementRowsModel(QObject* parent) : QAbstractTableModel(parent) {}

void MeasurementRowsModel::ShowRows(std::vector<MeasurementTexts> rows) {
    const int before = rowCount();
    const int after = static_cast<int>(rows.size()) + 1;
    if (after > before) beginInsertRows({}, before, after - 1);
    if (after < before) beginRemoveRows({}, after, before - 1);
    // Rows shown again unchanged, as after an edit that leaves the model as it was, keep
    // their comparisons: no run may follow to bring new ones.
    if (rows != rows_) compared_.clear();
    rows_ = std::move(rows);
    if (after > before) endInsertRows();
    if (after < before) endRemoveRows();
    RowsChanged(0, std::min(before, after) - 1);
}

void MeasurementRowsModel::ShowComparisons(Comparisons comparisons) {
    compared_ = std::move(comparisons.rows);
    Q_EMIT dataChanged(index(0, kCalculatedColumn), index(rowCount() - 1, kResidualColumn));
}

std::vector<MeasurementTexts> MeasurementRowsModel::Rows() const {
    std::vector<MeasurementTexts> rows;
    rows.reserve(rows_.size());
    for (const MeasurementTexts& row : rows_) {
        if (row != MeasurementTexts{}) rows.push_back(row);
    }
    return rows;
}

int MeasurementRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size()) + 1;
}

int MeasurementRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kResidualColumn + 1;
}

QVariant MeasurementRowsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    return index.column() < kMeasurementColumnCount
               ? TypedCell(index.row(), index.column(), role)
               : ComparedCell(index.row(), index.column(), role);
}

QVariant MeasurementRowsModel::TypedCell(int row, int column, int role) const {
    const auto at = static_cast<std::size_t>(row);
    const bool typed = at < rows_.size();
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return typed ? QString::fromStdString(rows_[at].cells[static_cast<std::size_t>(column)])
                     : QString();
    }
    const bool why = role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole;
    if (!typed || !(why || role == Qt::BackgroundRole)) return {};
    for (const CellProblem& problem : ReadMeasurement(rows_[at], row + 1).problems) {
        if (static_cast<int>(problem.column) != column) continue;
        if (why) return QString::fromStdString(Describe(problem));
        return QBrush(kBadCell);
    }
    return {};
}

QVariant MeasurementRowsModel::ComparedCell(int row, int column, int role) const {
    const auto at = static_cast<std::size_t>(row);
    if (at >= compared_.size() || at >= rows_.size() || !compared_[at]) return {};
    const Comparison& compared = *compared_[at];
    const std::optional<Quantity> quantity = QuantityNamed(rows_[at][MeasurementColumn::Quantity]);
    if (!quantity) return {};
    switch (role) {
        case Qt::DisplayRole:
            return column == kCalculatedColumn ? CalculatedText(compared, *quantity)
                                               : ResidualText(compared, *quantity);
        case Qt::BackgroundRole:
            if (!compared.leftOut.empty()) return QBrush(kBadCell);
            break;
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            if (!compared.leftOut.empty()) {
                return QStringLiteral("Left out of χ²: ") +
                       QString::fromStdString(compared.leftOut);
            }
            break;
        default: break;
    }
    return {};
}

QVariant MeasurementRowsModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    // Rows are numbered from 1, as messages about them number them.
    if (orientation == Qt::Vertical) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const QStringList headings = {
        QStringLiteral("Field, MHz"), QStringLiteral("Quantity"),
        QStringLiteral("Value"),      QStringLiteral("Uncertainty"),
        QStringLiteral("Calculated"), QStringLiteral("(calc − meas)/σ")};
    if (role == Qt::DisplayRole) return headings.value(section);
    if (role != Qt::ToolTipRole) return {};
    if (section == kCalculatedColumn) {
        return QStringLiteral(
            "The model's value in the row's unit: R1 and R2 in 1/s, T1 and T2 in s, the NOE "
            "as the intensity ratio I_sat/I_ref = 1 + η");
    }
    if (section == kResidualColumn) {
        return QStringLiteral(
            "A T1 or T2 is compared as its rate 1/T, its sign that of the calculated time "
            "minus the measured one");
    }
    return {};
}

Qt::ItemFlags MeasurementRowsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags shown = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return index.column() < kMeasurementColumnCount ? shown | Qt::ItemIsEditable : shown;
}

bool MeasurementRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) ||
        index.column() >= kMeasurementColumnCount) {
        return false;
    }
    const std::string text = value.toString().toStdString();
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    if (text == (row < rows_.size() ? rows_[row].cells[column] : std::string())) return false;
    if (row == rows_.size()) {  // the empty row takes it, and another follows
        beginInsertRows({}, index.row() + 1, index.row() + 1);
        rows_.emplace_back();
        endInsertRows();
    }
    rows_[row].cells[column] = text;
    RowsChanged(index.row(), index.row());
    Q_EMIT cellEdited();
    return true;
}

void MeasurementRowsModel::RowsChanged(int first, int last) {
    Q_EMIT dataChanged(index(first, 0), index(last, kResidualColumn));
}

}  // namespace veldorin
