// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/nmr_star.h"

#include <gemmi/cif.hpp>

#include <array>
#include <cctype>
#include <exception>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "engine/csv_text.h"
#include "engine/measurement.h"
#include "engine/numeric_text.h"

namespace veldorin {

namespace {

namespace cif = gemmi::cif;

// How one kind of relaxation list is read. Tags are written as the dictionary spells them;
// the parser compares them in any case.
struct ListKind {
    std::string_view category;                // the frame's Sf_category
    std::string_view loop;                    // what every tag of its loop starts with
    std::string_view units;                   // the list's tag of the unit; empty for the NOE
    std::array<std::string_view, 2> value;    // either generation of the dictionary
    std::array<std::string_view, 2> error;    // in the same order
    std::array<std::string_view, 2> residue;  // Seq_ID, else Comp_index_ID
    std::string_view assembly;                // the chain's Entity_assembly_ID
    std::string_view atom;                    // must be N
    std::string_view partner;                 // must be H; empty when a row names one atom
    Quantity time;
    Quantity rate;
};

const std::array<ListKind, 3> kListKinds = {{
    {"heteronucl_T1_relaxation",
     "_T1.",
     "T1_val_units",
     {"Val", "T1_val"},
     {"Val_err", "T1_val_err"},
     {"Seq_ID", "Comp_index_ID"},
     "Entity_assembly_ID",
     "Atom_ID",
     "",
     Quantity::T1,
     Quantity::R1},
    {"heteronucl_T2_relaxation",
     "_T2.",
     "T2_val_units",
     {"Val", "T2_val"},
     {"Val_err", "T2_val_err"},
     {"Seq_ID", "Comp_index_ID"},
     "Entity_assembly_ID",
     "Atom_ID",
     "",
     Quantity::T2,
     Quantity::R2},
    {"heteronucl_NOEs",
     "_Heteronucl_NOE.",
     "",
     {"Val", "Heteronucl_NOE_val"},
     {"Val_err", "Heteronucl_NOE_val_err"},
     {"Seq_ID_1", "Comp_index_ID_1"},
     "Entity_assembly_ID_1",
     "Atom_ID_1",
     "Atom_ID_2",
     Quantity::Noe,
     Quantity::Noe},
}};

// A unit of T1 and T2: whether it is a time, and what a value is divided by to be in s or 1/s.
struct Unit {
    std::string_view name;
    bool time;
    double divisor;
};
const std::array<Unit, 3> kUnits = {{{"s", true, 1.0}, {"ms", true, 1000.0}, {"s-1", false, 1.0}}};

constexpr int kProblemsTold = 50;

std::string Joined(std::string_view a, std::string_view b) {
    return std::string(a) + std::string(b);
}

// A save frame that holds a relaxation list: its kind and the prefix of the list's tags
// ("_Heteronucl_T1_list."), as its Sf_category tag says.
struct ListFrame {
    const ListKind* kind = nullptr;
    std::string prefix;
};
std::optional<ListFrame> ListFrameOf(const cif::Block& frame) {
    for (const cif::Item& item : frame.items) {
        if (item.type != cif::ItemType::Pair) continue;
        const std::string& tag = item.pair[0];
        const std::size_t dot = tag.rfind('.');
        if (dot == std::string::npos || !gemmi::iequal_from(tag, dot + 1, "sf_category")) continue;
        const std::string category = cif::as_string(item.pair[1]);
        for (const ListKind& kind : kListKinds) {
            if (category == kind.category) return ListFrame{&kind, tag.substr(0, dot + 1)};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

const cif::Loop* LoopOf(const cif::Block& frame, std::string_view prefix) {
    const std::string lower = gemmi::to_lower(std::string(prefix));
    for (const cif::Item& item : frame.items) {
        if (item.type == cif::ItemType::Loop && !item.loop.tags.empty() &&
            gemmi::istarts_with(item.loop.tags.front(), lower)) {
            return &item.loop;
        }
    }
    return nullptr;
}

// The loop's column of the first of the names it has; -1 when it has none.
int ColumnOf(const cif::Loop& loop, std::string_view prefix,
             const std::array<std::string_view, 2>& names) {
    for (std::string_view name : names) {
        if (const int column = loop.find_tag(Joined(prefix, name)); column >= 0) return column;
    }
    return -1;
}

// The columns a list's rows are read from.
struct Columns {
    std::array<int, 2> residue;  // Seq_ID, then Comp_index_ID (-1 for one it lacks)
    int assembly;                // -1 when the loop names no chain
    int atom;
    int partner;  // -1 when rows name one atom
    int value;
    int error;
};

class RelaxationReader {
public:
    void TakeFrame(const cif::Block& frame) {
        const std::optional<ListFrame> list = ListFrameOf(frame);
        if (!list) return;
        listsFound_ = true;
        const std::string name = "save_" + frame.name;
        const ListKind& kind = *list->kind;
        const std::string fieldTag = list->prefix + "Spectrometer_frequency_1H";
        const std::string field = cif::as_string(frame.find_value(fieldTag));
        if (field.empty()) return Refuse(name + ", " + fieldTag + ": missing");
        const std::optional<Unit> unit = UnitOf(frame, name, list->prefix, kind);
        if (!unit) return;
        const cif::Loop* loop = LoopOf(frame, kind.loop);
        const std::optional<Columns> columns = loop ? ColumnsOf(*loop, name, kind) : std::nullopt;
        if (!loop) Refuse(name + ": no loop of " + std::string(kind.loop) + " tags");
        if (!columns) return;
        MeasurementTexts texts;
        texts[MeasurementColumn::Field] = field;
        texts[MeasurementColumn::Quantity] = NameOf(unit->time ? kind.time : kind.rate);
        const std::array<std::string, kMeasurementColumnCount> tags = {
            fieldTag, list->prefix + std::string(kind.units), loop->tags[columns->value],
            loop->tags[columns->error]};
        for (std::size_t row = 0; row < loop->length(); ++row) {
            TakeRow(*loop, row, *columns, texts, *unit, name + ", row " + std::to_string(row + 1),
                    tags);
        }
    }

    ProteinDataRead Result() {
        if (!listsFound_) {
            return {std::nullopt,
                    "no save frame of category heteronucl_T1_relaxation, "
                    "heteronucl_T2_relaxation or heteronucl_NOEs"};
        }
        if (problems_ > kProblemsTold) {
            errors_ += "\nand " + std::to_string(problems_ - kProblemsTold) + " more problems";
        }
        if (!errors_.empty()) return {std::nullopt, std::move(errors_)};
        if (rows_.empty()) return {std::nullopt, "no backbone amide N row has a value"};
        return {ProteinData{Residues()}, {}};
    }

private:
    void Refuse(std::string problem) {
        if (++problems_ <= kProblemsTold) errors_ += (errors_.empty() ? "" : "\n") + problem;
    }

    // The unit of T1 or T2 values (the NOE has none); nothing after refusing another.
    std::optional<Unit> UnitOf(const cif::Block& frame, const std::string& name,
                               const std::string& prefix, const ListKind& kind) {
        if (kind.units.empty()) return Unit{"", false, 1.0};
        const std::string tag = prefix + std::string(kind.units);
        const std::string unit = cif::as_string(frame.find_value(tag));
        for (const Unit& known : kUnits) {
            if (unit == known.name) return known;
        }
        Refuse(name + ", " + tag + ": " +
               (unit.empty() ? "missing" : Excerpt(unit) + " is none of s, ms, s-1"));
        return std::nullopt;
    }

    std::optional<Columns> ColumnsOf(const cif::Loop& loop, const std::string& name,
                                     const ListKind& kind) {
        Columns columns{{loop.find_tag(Joined(kind.loop, kind.residue[0])),
                         loop.find_tag(Joined(kind.loop, kind.residue[1]))},
                        loop.find_tag(Joined(kind.loop, kind.assembly)),
                        loop.find_tag(Joined(kind.loop, kind.atom)),
                        kind.partner.empty() ? -1 : loop.find_tag(Joined(kind.loop, kind.partner)),
                        ColumnOf(loop, kind.loop, kind.value),
                        ColumnOf(loop, kind.loop, kind.error)};
        const auto lacks = [&](bool lacking, std::string_view what) {
            if (lacking) Refuse(name + ": the loop has no " + Joined(kind.loop, what));
            return lacking;
        };
        bool lacking = lacks(columns.residue[0] < 0 && columns.residue[1] < 0, kind.residue[0]);
        lacking |= lacks(columns.atom < 0, kind.atom);
        lacking |= lacks(!kind.partner.empty() && columns.partner < 0, kind.partner);
        lacking |= lacks(columns.value < 0, kind.value[0]);
        lacking |= lacks(columns.error < 0, kind.error[0]);
        if (lacking) return std::nullopt;
        return columns;
    }

    void TakeRow(const cif::Loop& loop, std::size_t row, const Columns& columns,
                 MeasurementTexts texts, const Unit& unit, const std::string& where,
                 const std::array<std::string, kMeasurementColumnCount>& tags) {
        const auto cell = [&](int column) {
            return column < 0 ? std::string() : cif::as_string(loop.val(row, column));
        };
        const bool amide =
            cell(columns.atom) == "N" && (columns.partner < 0 || cell(columns.partner) == "H");
        if (!amide || cif::is_null(loop.val(row, columns.value))) return;
        const int residueColumn =
            cell(columns.residue[0]).empty() ? columns.residue[1] : columns.residue[0];
        const std::string residueText = cell(residueColumn);
        const std::optional<int> residue = WholeNumberIn<int>(residueText);
        if (!residue) {
            Refuse(where + ", " + (residueColumn < 0 ? "Seq_ID" : loop.tags[residueColumn]) + ": " +
                   (residueText.empty() ? "missing"
                                        : Excerpt(residueText) + " is not a whole number"));
        }
        texts[MeasurementColumn::Value] = cell(columns.value);
        texts[MeasurementColumn::Error] = cell(columns.error);
        const MeasurementReading reading = ReadMeasurement(texts, static_cast<int>(row) + 1);
        for (const CellProblem& problem : reading.problems) {
            Refuse(where + ", " + tags[static_cast<std::size_t>(problem.column)] + ": " +
                   problem.reason);
        }
        if (!residue || !reading.measurement) return;
        Measurement measurement = *reading.measurement;
        measurement.value /= unit.divisor;
        measurement.error /= unit.divisor;
        rows_.push_back({cell(columns.assembly), *residue, measurement});
    }

    // The residues in order, by chain (whole numbers in their order, then other names) and
    // sequence number. With several chains a residue is named "<Entity_assembly_ID>:<Seq_ID>",
    // so that the same number in two chains stays two residues; a row that names no chain
    // keeps its Seq_ID alone.
    std::vector<ResidueData> Residues() const {
        std::set<std::string> chains;
        for (const Row& row : rows_) {
            if (!row.chain.empty()) chains.insert(row.chain);
        }
        const bool named = chains.size() > 1;
        std::map<std::tuple<long long, std::string, int>, ResidueData> residues;
        for (const Row& row : rows_) {
            const std::string chain = named ? row.chain : "";
            const std::optional<long long> number =
                chain.empty() ? 0 : WholeNumberIn<long long>(chain);
            ResidueData& data = residues[{number.value_or(std::numeric_limits<long long>::max()),
                                          chain, row.sequence}];
            data.residue = (chain.empty() ? "" : chain + ":") + std::to_string(row.sequence);
            data.measurements.push_back(row.measurement);
            data.lines.push_back(0);
        }
        std::vector<ResidueData> ordered;
        for (auto& entry : residues) ordered.push_back(std::move(entry.second));
        return ordered;
    }

    struct Row {
        std::string chain;  // Entity_assembly_ID; empty when the loop names none
        int sequence = 0;
        Measurement measurement;
    };
    std::vector<Row> rows_;
    bool listsFound_ = false;
    int problems_ = 0;
    std::string errors_;
};

}  // namespace

bool IsNmrStarText(std::string_view text) {
    std::size_t at = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (at < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[at]))) {
            ++at;
        } else if (text[at] == '#') {
            at = text.find('\n', at);
        } else {
            return gemmi::istarts_with(std::string(text.substr(at, 5)), "data_");
        }
    }
    return false;
}

ProteinDataRead ReadNmrStarRelaxation(std::string_view text) {
    cif::Document document;
    try {
        document = cif::read_memory(text.data(), text.size(), "");
    } catch (const tao::pegtl::parse_error& failure) {
        if (failure.positions().empty()) return {std::nullopt, failure.what()};
        const tao::pegtl::position& at = failure.positions().front();
        return {std::nullopt, "line " + std::to_string(at.line) + ", column " +
                                  std::to_string(at.column) + ": " +
                                  std::string(failure.message())};
    } catch (const std::exception& failure) {
        return {std::nullopt, failure.what()};
    }
    RelaxationReader reader;
    for (const cif::Block& block : document.blocks) {
        for (const cif::Item& item : block.items) {
            if (item.type == cif::ItemType::Frame) reader.TakeFrame(item.frame);
        }
    }
    return reader.Result();
}

}  // namespace veldorin
