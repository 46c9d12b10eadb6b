// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "structure/bond_vectors.h"

#include <gemmi/model.hpp>

#include <algorithm>
#include <cmath>
#include <exception>
#include <set>
#include <utility>

#include "structure/structure_text.h"

namespace veldorin {

namespace {

// N-H bond length of the placed amide hydrogen, Å.
constexpr double kAmideBondLength = 1.02;
// A C(i-1)-N distance above this is no peptide bond but a gap in the chain, Å.
constexpr double kLongestPeptideBond = 2.0;

const gemmi::Atom* FindAtom(const gemmi::Residue& residue, const std::string& name) {
    return residue.find_atom(name, '*');
}

bool IsAmideBond(const BondSelection& selection) {
    return selection.from == "N" && selection.to == "H";
}

const gemmi::Atom* AmideHydrogen(const gemmi::Residue& residue) {
    const gemmi::Atom* hydrogen = FindAtom(residue, "H");
    return hydrogen ? hydrogen : FindAtom(residue, "HN");
}

gemmi::Vec3 Vec(const std::array<double, 3>& point) { return {point[0], point[1], point[2]}; }
std::array<double, 3> Array(const gemmi::Vec3& vector) { return {vector.x, vector.y, vector.z}; }

// The amide H from the backbone; none for the first residue of a chain or one after a gap.
std::optional<gemmi::Vec3> PlacedHydrogen(const gemmi::Residue* previous,
                                          const gemmi::Residue& residue) {
    if (!previous) return std::nullopt;
    const gemmi::Atom* c = FindAtom(*previous, "C");
    const gemmi::Atom* n = FindAtom(residue, "N");
    const gemmi::Atom* ca = FindAtom(residue, "CA");
    if (!c || !n || !ca || n->pos.dist(c->pos) > kLongestPeptideBond) return std::nullopt;
    return Vec(PlacedAmideHydrogen(Array(c->pos), Array(n->pos), Array(ca->pos)));
}

// One model's bonds, not yet unit vectors.
struct ModelBonds {
    std::map<std::string, gemmi::Vec3> bonds;
    std::vector<std::string> placedHydrogens;
    bool hydrogensInFile = false;  // some residue has its own amide H
};

class ModelBondReader {
public:
    ModelBondReader(const BondSelection& selection, const ResidueKeys& keys)
        : selection_(selection), keys_(keys) {}

    ModelBonds Read(const gemmi::Model& model) {
        bonds_ = {};
        for (const gemmi::Chain& chain : model.chains) {
            const gemmi::Residue* previous = nullptr;
            const gemmi::ConstResidueSpan residues = chain.whole();  // outlives the proxy
            for (const gemmi::Residue& residue : residues.first_conformer()) {
                if (!IsPolymerResidue(residue)) continue;
                TakeResidue(keys_.Key(chain, residue), previous, residue);
                previous = &residue;
            }
        }
        return std::move(bonds_);
    }

private:
    void TakeResidue(const std::string& key, const gemmi::Residue* previous,
                     const gemmi::Residue& residue) {
        const gemmi::Atom* from = FindAtom(residue, selection_.from);
        if (!from) return;
        if (!IsAmideBond(selection_)) {
            if (const gemmi::Atom* to = FindAtom(residue, selection_.to)) {
                bonds_.bonds[key] = to->pos - from->pos;
            }
            return;
        }
        if (residue.name == "PRO") return;  // no amide hydrogen
        if (const gemmi::Atom* hydrogen = AmideHydrogen(residue)) {
            bonds_.bonds[key] = hydrogen->pos - from->pos;
            bonds_.hydrogensInFile = true;
        } else if (const auto placed = PlacedHydrogen(previous, residue)) {
            bonds_.bonds[key] = *placed - from->pos;
            bonds_.placedHydrogens.push_back(key);
        }
    }

    const BondSelection& selection_;
    const ResidueKeys& keys_;
    ModelBonds bonds_;
};

std::array<double, 3> CentreOf(const gemmi::Model& model) {
    gemmi::Vec3 sum;
    int atoms = 0;
    for (const gemmi::Chain& chain : model.chains) {
        for (const gemmi::Residue& residue : chain.residues) {
            for (const gemmi::Atom& atom : residue.atoms) {
                sum += atom.pos;
                ++atoms;
            }
        }
    }
    return atoms > 0 ? Array(sum / atoms) : std::array<double, 3>{};
}

// The residues in the order first met, each once.
void AppendNew(std::vector<std::string>& list, const std::vector<std::string>& more) {
    for (const std::string& key : more) {
        if (std::find(list.begin(), list.end(), key) == list.end()) list.push_back(key);
    }
}

std::string PlacementNote(std::size_t placed, bool hydrogensInFile) {
    if (placed == 0) return "";
    const std::string count = std::to_string(placed) + (placed == 1 ? " residue" : " residues");
    return hydrogensInFile
               ? "no amide hydrogen for " + count + ": placed from the backbone"
               : "no amide hydrogens in the structure: placed from the backbone for " + count;
}

StructureBondsRead BondsOf(const gemmi::Structure& structure, const BondSelection& selection) {
    const int models = static_cast<int>(structure.models.size());
    if (!selection.averageModels && (selection.model < 1 || selection.model > models)) {
        return {std::nullopt, "model " + std::to_string(selection.model) +
                                  " asked for; the structure has " + std::to_string(models)};
    }
    const std::size_t first =
        selection.averageModels ? 0 : static_cast<std::size_t>(selection.model - 1);
    const std::size_t end = selection.averageModels ? structure.models.size() : first + 1;
    const ResidueKeys keys(structure);
    ModelBondReader reader(selection, keys);
    std::map<std::string, gemmi::Vec3> sums;
    StructureBonds bonds;
    bool hydrogensInFile = false;
    for (std::size_t index = first; index < end; ++index) {
        ModelBonds model = reader.Read(structure.models[index]);
        for (const auto& [key, bond] : model.bonds) sums[key] += bond.normalized();
        AppendNew(bonds.placedHydrogens, model.placedHydrogens);
        hydrogensInFile = hydrogensInFile || model.hydrogensInFile;
    }
    for (const auto& [key, sum] : sums) {
        // Opposite bonds of an ensemble cancel: such a residue has no direction.
        if (sum.length() < 1e-9) continue;
        const std::array<double, 3> unit = Array(sum.normalized());
        bonds.unitVectors[key] = unit;
        if (const auto number = keys.Plain(key)) bonds.unitVectors[*number] = unit;
    }
    if (bonds.unitVectors.empty()) {
        return {std::nullopt,
                "no residue has both atoms " + selection.from + " and " + selection.to};
    }
    bonds.models = models;
    bonds.centre = CentreOf(structure.models[first]);
    const std::string placement = PlacementNote(bonds.placedHydrogens.size(), hydrogensInFile);
    const std::string chains = keys.Note();
    bonds.note = placement + (placement.empty() || chains.empty() ? "" : "; ") + chains;
    return {std::move(bonds), ""};
}

// A residue's value by its key, or by its number alone where that names it.
std::map<std::string, double>::const_iterator ValueOf(const std::map<std::string, double>& values,
                                                      const ResidueKeys& keys,
                                                      const std::string& key) {
    const auto value = values.find(key);
    const std::optional<std::string> number = keys.Plain(key);
    return value == values.end() && number ? values.find(*number) : value;
}

}  // namespace

StructureBondsRead ReadStructureBonds(std::string_view text, const BondSelection& selection) {
    try {
        const StructureTextRead read = ReadStructureText(text);
        if (!read.read) return {std::nullopt, read.error};
        return BondsOf(read.read->structure, selection);
    } catch (const std::exception& failure) {
        return {std::nullopt, failure.what()};
    }
}

std::array<double, 3> PlacedAmideHydrogen(const std::array<double, 3>& previousC,
                                          const std::array<double, 3>& n,
                                          const std::array<double, 3>& ca) {
    const gemmi::Vec3 nitrogen = Vec(n);
    const gemmi::Vec3 bisector =
        (nitrogen - Vec(previousC)).normalized() + (nitrogen - Vec(ca)).normalized();
    return Array(nitrogen + bisector.normalized() * kAmideBondLength);
}

std::vector<std::string> ResiduesWithoutBond(const std::vector<std::string>& residues,
                                             const StructureBonds& bonds) {
    std::vector<std::string> without;
    for (const std::string& residue : residues) {
        if (!bonds.unitVectors.contains(residue)) without.push_back(residue);
    }
    return without;
}

StructureWrite StructureWithBFactors(std::string_view text,
                                     const std::map<std::string, double>& values) {
    try {
        StructureTextRead read = ReadStructureText(text);
        if (!read.read) return {std::nullopt, read.error};
        gemmi::Structure& structure = read.read->structure;
        const ResidueKeys keys(structure);
        for (gemmi::Model& model : structure.models) {
            for (gemmi::Chain& chain : model.chains) {
                for (gemmi::Residue& residue : chain.residues) {
                    const auto value = IsPolymerResidue(residue)
                                           ? ValueOf(values, keys, keys.Key(chain, residue))
                                           : values.end();
                    const double b =
                        value != values.end() && std::isfinite(value->second) ? value->second : 0.0;
                    for (gemmi::Atom& atom : residue.atoms) atom.b_iso = static_cast<float>(b);
                }
            }
        }
        return {WrittenStructureText(*read.read), ""};
    } catch (const std::exception& failure) {
        return {std::nullopt, failure.what()};
    }
}

}  // namespace veldorin
