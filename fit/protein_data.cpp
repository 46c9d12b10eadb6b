// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/protein_data.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <tuple>

#include "engine/csv_text.h"
#include "engine/format.h"
#include "fit/table_text.h"

namespace veldorin {
namespace {

using Cells = std::vector<std::string>;

// The long form's columns as a header lacking one is told: the residue's, then the
// measurement's in the order of MeasurementColumn.
constexpr std::array<std::string_view, 5> kLongColumns = {"residue", "field_mhz", "quantity",
                                                          "value", "error"};

// The residues as their rows are read, and what could not be read.
class ProteinDataBuilder {
public:
    Problems problems;

    // Whether the row names its residue; says why not.
    bool Named(int line, std::string_view column, const std::string& residue) {
        if (!residue.empty() && residue.size() <= kMaxCellBytes) return true;
        problems.Add(AtCell(line, column) +
                     (residue.empty() ? "missing" : CellTooLong() + ": " + Excerpt(residue)));
        return false;
    }

    void Add(const std::string& residue, const Measurement& measurement, int line) {
        auto [at, added] = indexOf_.try_emplace(residue, data_.residues.size());
        if (added) data_.residues.push_back({residue, {}, {}});
        ResidueData& target = data_.residues[at->second];
        target.measurements.push_back(measurement);
        target.lines.push_back(line);
    }

    bool Empty() const { return data_.residues.empty(); }

    ProteinDataRead Result() {
        if (problems.Any()) return {std::nullopt, problems.Text()};
        return {std::move(data_), {}};
    }

private:
    ProteinData data_;
    std::map<std::string, std::size_t, std::less<>> indexOf_;
};

// The rows of the long form: a measurement each.
class LongRows {
public:
    static std::optional<LongRows> Of(int line, const Cells& header, Problems& problems) {
        LongRows rows;
        for (std::size_t c = 0; c < kLongColumns.size(); ++c) {
            const auto at = std::ranges::find_if(
                header, [&](const std::string& cell) { return NamesColumn(cell, c); });
            if (at == header.end()) {
                problems.Add(HeaderWithout(line, kLongColumns[c]));
                return std::nullopt;
            }
            rows.position_[c] = static_cast<std::size_t>(at - header.begin());
            rows.name_[c] = ColumnName(*at);
        }
        return rows;
    }

    void Take(const CsvLine& line, const Cells& cells, ProteinDataBuilder& builder) {
        const auto cell = [&](std::size_t c) {
            return position_[c] < cells.size() ? cells[position_[c]] : std::string();
        };
        MeasurementTexts texts;
        for (std::size_t c = 0; c < texts.cells.size(); ++c) texts.cells[c] = cell(c + 1);
        const std::string residue = cell(0);
        const bool named = builder.Named(line.number, name_[0], residue);
        const MeasurementReading reading = ReadMeasurement(texts, line.number);
        for (const CellProblem& problem : reading.problems) {
            builder.problems.Add(
                AtCell(line.number, name_[static_cast<std::size_t>(problem.column) + 1]) +
                problem.reason);
        }
        if (named && reading.measurement) builder.Add(residue, *reading.measurement, line.number);
    }

private:
    static bool NamesColumn(const std::string& cell, std::size_t c) {
        if (c == 0) return HeaderName(cell) == kLongColumns[0];
        const std::optional<MeasurementColumn> column = MeasurementColumnNamed(cell);
        return column && static_cast<std::size_t>(*column) + 1 == c;
    }

    std::array<std::size_t, kLongColumns.size()> position_{};
    std::array<std::string, kLongColumns.size()> name_;
};

// What a wide header's column holds: a quantity at a field ("R1_600"), or the uncertainty
// of one ("R1_600_err", "R1_600_error").
struct WideColumn {
    Quantity quantity = Quantity::R1;
    std::string field;  // as typed
    bool uncertainty = false;
};
std::optional<WideColumn> WideColumnOf(std::string_view cell) {
    const std::string name = HeaderName(cell);
    const std::size_t afterQuantity = name.find('_');
    if (afterQuantity == std::string::npos) return std::nullopt;
    const std::optional<Quantity> quantity = QuantityNamed(name.substr(0, afterQuantity));
    const std::string_view rest = std::string_view(name).substr(afterQuantity + 1);
    const std::size_t afterField = std::min(rest.find('_'), rest.size());
    const std::string_view suffix = rest.substr(std::min(afterField + 1, rest.size()));
    const bool uncertainty = afterField < rest.size();
    if (!quantity || afterField == 0 || (uncertainty && suffix != "err" && suffix != "error")) {
        return std::nullopt;
    }
    return WideColumn{*quantity, std::string(rest.substr(0, afterField)), uncertainty};
}

// A header is wide when it names quantities at fields, and neither a quantity nor a value
// column.
bool IsWide(const Cells& header) {
    const auto longOnly = [](const std::string& cell) {
        const std::optional<MeasurementColumn> column = MeasurementColumnNamed(cell);
        return column == MeasurementColumn::Quantity || column == MeasurementColumn::Value;
    };
    return std::ranges::any_of(
               header, [](const std::string& cell) { return WideColumnOf(cell).has_value(); }) &&
           std::ranges::none_of(header, longOnly);
}

// The rows of the wide form: a residue each, with a value and its uncertainty for each
// quantity at a field, both empty where it was not measured.
class WideRows {
public:
    static std::optional<WideRows> Of(int line, const Cells& header, Problems& problems) {
        WideRows rows;
        bool refused = false;
        const auto refuse = [&](const std::string& problem) {
            problems.Add(problem);
            refused = true;
        };
        std::optional<std::size_t> residue;
        for (std::size_t k = 0; k < header.size(); ++k) {
            rows.name_.push_back(ColumnName(header[k]));
            if (HeaderName(header[k]) != kLongColumns[0]) {
                if (auto problem = rows.TakeColumn(k, header[k])) {
                    refuse(AtCell(line, rows.name_[k]) + *problem);
                }
            } else if (residue) {
                refuse(AtCell(line, rows.name_[k]) + "the same as column \"" +
                       rows.name_[*residue] + "\"");
            } else {
                residue = k;
            }
        }
        if (!residue) refuse(HeaderWithout(line, kLongColumns[0]));
        for (const Pair& pair : rows.pairs_) {
            if (pair.value && pair.error) continue;
            const std::string expected = std::string(NameOf(pair.quantity)) + "_" + pair.field;
            refuse(AtCell(line, rows.name_[pair.value ? *pair.value : *pair.error]) +
                   (pair.value ? "no column of its uncertainty (" + expected + "_err)"
                               : "no column of its value (" + expected + ")"));
        }
        if (refused) return std::nullopt;
        rows.residue_ = *residue;
        return rows;
    }

    void Take(const CsvLine& line, const Cells& cells, ProteinDataBuilder& builder) {
        const auto cell = [&](std::size_t k) {
            return k < cells.size() ? cells[k] : std::string();
        };
        const std::string residue = cell(residue_);
        const bool named = builder.Named(line.number, name_[residue_], residue);
        if (named) {
            const auto [at, added] = lineOf_.try_emplace(residue, line.number);
            if (!added) {
                builder.problems.Add(AtCell(line.number, name_[residue_]) + Excerpt(residue) +
                                     " has its row on line " + std::to_string(at->second));
                return;
            }
        }
        for (const Pair& pair : pairs_) {
            const std::string value = cell(*pair.value);
            const std::string error = cell(*pair.error);
            if (value.empty() && error.empty()) continue;
            if (value.empty() || error.empty()) {
                const auto [missing, given] = value.empty() ? std::pair(*pair.value, *pair.error)
                                                            : std::pair(*pair.error, *pair.value);
                builder.problems.Add(AtCell(line.number, name_[missing]) +
                                     "missing where column \"" + name_[given] + "\" is given");
                continue;
            }
            const MeasurementReading reading = ReadMeasurement(
                {{pair.field, std::string(NameOf(pair.quantity)), value, error}}, line.number);
            for (const CellProblem& problem : reading.problems) {
                const bool ofError = problem.column == MeasurementColumn::Error;
                builder.problems.Add(
                    AtCell(line.number, name_[ofError ? *pair.error : *pair.value]) +
                    problem.reason);
            }
            if (named && reading.measurement) {
                builder.Add(residue, *reading.measurement, line.number);
            }
        }
    }

private:
    // The columns of one quantity at one field.
    struct Pair {
        Quantity quantity = Quantity::R1;
        double fieldMHz = 0.0;
        std::string field;  // as the first of its columns writes it
        std::optional<std::size_t> value;
        std::optional<std::size_t> error;
    };

    // Takes the header's cell as a quantity's column; why it cannot be one.
    std::optional<std::string> TakeColumn(std::size_t k, std::string_view cell) {
        const std::optional<WideColumn> column = WideColumnOf(cell);
        if (!column) {
            return "neither the residue nor a quantity at a field (R1_600) or its uncertainty "
                   "(R1_600_err)";
        }
        const MeasurementReading field =
            ReadMeasurement({{column->field, std::string(NameOf(column->quantity)), "1", "1"}}, 0);
        if (!field.measurement) return "field " + field.problems.front().reason;
        auto pair = std::ranges::find_if(pairs_, [&](const Pair& p) {
            return p.quantity == column->quantity && p.fieldMHz == field.measurement->fieldMHz;
        });
        if (pair == pairs_.end()) {
            pairs_.push_back(
                {column->quantity, field.measurement->fieldMHz, column->field, {}, {}});
            pair = pairs_.end() - 1;
        }
        std::optional<std::size_t>& at = column->uncertainty ? pair->error : pair->value;
        if (at) return "the same as column \"" + name_[*at] + "\"";
        at = k;
        return std::nullopt;
    }

    std::size_t residue_ = 0;
    std::vector<Pair> pairs_;  // in the order of the header
    std::vector<std::string> name_;
    std::map<std::string, int, std::less<>> lineOf_;  // of each residue's row
};

// The rows after the header, as the header lays them out.
template <typename Rows>
void ReadRows(const std::vector<CsvLine>& lines, char separator, const Cells& header,
              ProteinDataBuilder& builder) {
    std::optional<Rows> rows = Rows::Of(lines.front().number, header, builder.problems);
    if (!rows) return;
    if (lines.size() == 1) builder.problems.Add(HeaderWithoutRows(lines.front().number));
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        if (IsTooLong(*line)) {
            builder.problems.Add(LongLineProblem(*line));
            continue;
        }
        const Cells cells = TrimmedCells(line->text, separator);
        if (cells.size() > header.size()) {
            builder.problems.Add(AtLine(line->number) +
                                 MoreCellsThanHeader(cells.size(), header.size()) + ": " +
                                 Excerpt(line->text));
            continue;
        }
        rows->Take(*line, cells, builder);
    }
}

}  // namespace

ProteinDataRead ReadProteinData(std::string_view text) {
    const std::vector<CsvLine> lines = DataLines(text);
    if (lines.empty()) return {std::nullopt, "no header line"};
    const CsvLine& header = lines.front();
    if (IsTooLong(header)) return {std::nullopt, LongLineProblem(header)};
    const char separator = SeparatorOf(header.text);
    const Cells names = TrimmedCells(header.text, separator);
    ProteinDataBuilder builder;
    if (IsWide(names)) {
        ReadRows<WideRows>(lines, separator, names, builder);
    } else {
        ReadRows<LongRows>(lines, separator, names, builder);
    }
    if (!builder.problems.Any() && builder.Empty()) {
        builder.problems.Add(AtLine(header.number) + "no row holds a measurement");
    }
    return builder.Result();
}

ProteinDataRead MergedProteinData(std::vector<NamedProteinData> files) {
    // Where each residue's rate at a field was first given: the file, its line and the
    // quantity as given there.
    struct Source {
        std::size_t file = 0;
        int line = 0;
        Quantity quantity = Quantity::R1;
    };
    std::map<std::tuple<std::string, Quantity, double>, Source> sources;
    ProteinDataBuilder merged;
    for (std::size_t f = 0; f < files.size(); ++f) {
        for (const ResidueData& residue : files[f].data.residues) {
            for (std::size_t m = 0; m < residue.measurements.size(); ++m) {
                const Measurement& measurement = residue.measurements[m];
                const int line = residue.lines[m];
                const auto [first, added] = sources.try_emplace(
                    {residue.residue, ComparedQuantity(measurement.quantity), measurement.fieldMHz},
                    Source{f, line, measurement.quantity});
                if (added || first->second.file == f) {
                    merged.Add(residue.residue, measurement, line);
                    continue;
                }
                const Source& source = first->second;
                const bool same = source.quantity == measurement.quantity;
                merged.problems.Add(files[f].name + ": " + AtLine(line) + "residue " +
                                    Excerpt(residue.residue) + ": " +
                                    std::string(NameOf(measurement.quantity)) + " at " +
                                    FormatShortestDouble(measurement.fieldMHz) + " MHz, which " +
                                    files[source.file].name + " gives" +
                                    (same ? "" : " as " + std::string(NameOf(source.quantity))) +
                                    " on line " + std::to_string(source.line));
            }
        }
    }
    return merged.Result();
}

std::string LongFormCsv(const ProteinData& data) {
    std::string csv;
    for (const std::string_view column : kLongColumns) {
        csv += (csv.empty() ? "" : ",") + std::string(column);
    }
    csv += '\n';
    for (const ResidueData& residue : data.residues) {
        for (const Measurement& m : residue.measurements) {
            csv += CsvCell(residue.residue) + ',' + FormatShortestDouble(m.fieldMHz) + ',' +
                   std::string(NameOf(m.quantity)) + ',' + FormatShortestDouble(m.value) + ',' +
                   FormatShortestDouble(m.error) + '\n';
        }
    }
    return csv;
}

}  // namespace veldorin
