// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one place gemmi's writers are compiled.
#define GEMMI_WRITE_IMPLEMENTATION

#include "structure/structure_text.h"

#include <gemmi/cif.hpp>
#include <gemmi/mmcif.hpp>
#include <gemmi/mmread.hpp>
#include <gemmi/pdb.hpp>
#include <gemmi/polyheur.hpp>
#include <gemmi/to_cif.hpp>
#include <gemmi/to_mmcif.hpp>
#include <gemmi/to_pdb.hpp>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <sstream>
#include <utility>

namespace veldorin {

namespace {

// Far beyond the largest deposited structure; a larger text is a wrong file, read no further.
constexpr std::size_t kLargestText = std::size_t{512} << 20;

std::string ParseError(const tao::pegtl::parse_error& failure) {
    if (failure.positions().empty()) return failure.what();
    const tao::pegtl::position& at = failure.positions().front();
    return "line " + std::to_string(at.line) + ", column " + std::to_string(at.column) + ": " +
           std::string(failure.message());
}

bool HasAtoms(const gemmi::Structure& structure) {
    for (const gemmi::Model& model : structure.models) {
        for (const gemmi::Chain& chain : model.chains) {
            for (const gemmi::Residue& residue : chain.residues) {
                if (!residue.atoms.empty()) return true;
            }
        }
    }
    return false;
}

StructureText ParsedText(std::string_view text) {
    const gemmi::CoorFormat format =
        gemmi::coor_format_from_content(text.data(), text.data() + text.size());
    StructureText parsed;
    if (format == gemmi::CoorFormat::Pdb) {
        parsed.structure = gemmi::read_pdb_from_memory(text.data(), text.size(), "structure");
    } else if (format == gemmi::CoorFormat::Mmcif) {
        parsed.document = gemmi::cif::read_memory(text.data(), text.size(), "structure");
        parsed.structure = gemmi::make_structure_from_block(parsed.document->blocks.at(0));
    } else {
        gemmi::fail("neither a PDB nor an mmCIF file");
    }
    // A file without SEQRES or entities leaves the residues' kind open; the chains' own
    // residues tell the polymer from ligands and water.
    gemmi::add_entity_types(parsed.structure, false);
    return parsed;
}

}  // namespace

StructureTextRead ReadStructureText(std::string_view text) {
    if (text.size() > kLargestText) return {std::nullopt, "the file is larger than 512 MB"};
    try {
        StructureText parsed = ParsedText(text);
        if (!HasAtoms(parsed.structure)) return {std::nullopt, "the file holds no atoms"};
        return {std::move(parsed), ""};
    } catch (const tao::pegtl::parse_error& failure) {
        return {std::nullopt, ParseError(failure)};
    } catch (const std::exception& failure) {
        return {std::nullopt, failure.what()};
    }
}

std::string WrittenStructureText(StructureText& text) {
    std::ostringstream written;
    if (text.document) {
        gemmi::MmcifOutputGroups atomsOnly(false);
        atomsOnly.atoms = true;
        atomsOnly.group_pdb = true;
        gemmi::update_mmcif_block(text.structure, text.document->blocks.at(0), atomsOnly);
        gemmi::cif::write_cif_to_stream(written, *text.document, gemmi::cif::Style::Pdbx);
    } else {
        // A solution structure has no unit cell; the writer would invent one.
        gemmi::PdbWriteOptions options;
        options.cryst1_record = text.structure.cell.is_crystal();
        gemmi::write_pdb(text.structure, written, options);
    }
    return written.str();
}

bool IsPolymerResidue(const gemmi::Residue& residue) {
    return residue.entity_type == gemmi::EntityType::Polymer;
}

ResidueKeys::ResidueKeys(const gemmi::Structure& structure) {
    for (const gemmi::Model& model : structure.models) {
        for (const gemmi::Chain& chain : model.chains) {
            const bool polymer = std::ranges::any_of(chain.residues, IsPolymerResidue);
            if (polymer && std::ranges::find(chains_, chain.name) == chains_.end())
                chains_.push_back(chain.name);
        }
    }
}

std::string ResidueKeys::Key(const gemmi::Chain& chain, const gemmi::Residue& residue) const {
    const std::string number = residue.seqid.str();
    return chains_.size() > 1 ? chain.name + ":" + number : number;
}

std::optional<std::string> ResidueKeys::Plain(const std::string& key) const {
    if (chains_.size() < 2) return std::nullopt;
    const std::string prefix = chains_.front() + ":";
    if (!key.starts_with(prefix)) return std::nullopt;
    return key.substr(prefix.size());
}

std::string ResidueKeys::Note() const {
    if (chains_.size() < 2) return "";
    std::string names;
    for (const std::string& chain : chains_) names += (names.empty() ? "" : ", ") + chain;
    return "residues named by their number alone are chain " + chains_.front() +
           "'s (the structure's chains: " + names + "; name another's as " + chains_.back() +
           ":12)";
}

}  // namespace veldorin
