// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein/protein_project.h"

#include <algorithm>
#include <cctype>
#include <thread>
#include <tuple>

namespace veldorin {

ProteinFitOptions DefaultProteinFitOptions() {
    ProteinFitOptions options;
    options.residue.system = BackboneAmide();
    options.globalTm = true;
    options.residue.fitTm = false;
    options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return options;
}

ProteinFitOptions ProteinProject::FitOptions() const {
    ProteinFitOptions options = settings.fit;
    for (const auto& [residue, choice] : choices) {
        if (choice.model) options.chosenModels[residue] = *choice.model;
    }
    if (structure) {
        options.diffusion =
            DiffusionOptions{structure->bonds.unitVectors, ModelsOf(settings.diffusion)};
    }
    return options;
}

std::optional<std::size_t> ProteinProject::ResidueNamed(std::string_view name) const {
    for (std::size_t r = 0; r < data.residues.size(); ++r) {
        if (data.residues[r].residue == name) return r;
    }
    return std::nullopt;
}

const ResidueOutcome* ProteinProject::OutcomeOf(std::size_t residue) const {
    if (!fit || residue >= fit->residues.size()) return nullptr;
    return &fit->residues[residue];
}

void ProteinProject::SetRows(std::size_t residue, std::vector<Measurement> rows) {
    ResidueData& data = this->data.residues.at(residue);
    data.measurements = std::move(rows);
    data.lines.assign(data.measurements.size(), 0);
    choices[data.residue].rowsEdited = true;
}

void ProteinProject::ChooseModel(std::size_t residue, std::optional<int> model) {
    choices[data.residues.at(residue).residue].model = model;
}

void ProteinProject::TakeResidueFit(std::size_t residue, ResidueOutcome outcome) {
    if (!fit || residue >= fit->residues.size()) return;
    fit->residues[residue] = std::move(outcome);
}

namespace {

// How a residue's name sorts: its chain (the text before a ':'), whether it has a number,
// the number, then the rest of the name.
std::tuple<std::string, bool, long long, std::string> SequenceKey(const std::string& name) {
    const std::size_t colon = name.find(':');
    const std::string chain = colon == std::string::npos ? "" : name.substr(0, colon);
    const std::string rest = colon == std::string::npos ? name : name.substr(colon + 1);
    const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    std::size_t begin = 0;
    while (begin < rest.size() && !digit(rest[begin])) ++begin;
    std::size_t end = begin;
    while (end < rest.size() && digit(rest[end]) && end - begin < 18) ++end;
    if (begin == end) return {chain, true, 0, rest};
    // A minus sign before the digits counts: numbering may start below 1.
    const bool negative = begin > 0 && rest[begin - 1] == '-';
    const long long number = std::stoll(rest.substr(begin, end - begin));
    const std::size_t from = negative ? begin - 1 : begin;
    return {chain, false, negative ? -number : number, std::string(rest).erase(from, end - from)};
}

}  // namespace

void SortBySequence(ProteinData& data) {
    std::ranges::stable_sort(
        data.residues, {}, [](const ResidueData& residue) { return SequenceKey(residue.residue); });
}

ProteinFitOptions ResidueRefitOptions(const ProteinProject& project, std::size_t residue) {
    ProteinFitOptions options = project.FitOptions();
    if (project.fit && project.fit->globalTmPs) {
        options.globalTm = false;
        options.residue.fitTm = false;
        options.residue.tmPs = *project.fit->globalTmPs;
    }
    // The protein's tensor stays as it was fitted: the residue alone sees it through its bond.
    options.diffusion.reset();
    if (const auto tumbling = TumblingOf(project, residue))
        options.residue.tumbling = TumblingTerms(tumbling->tensor, tumbling->bond);
    // Its own seed, as in the protein's fit, so that a refit without a change gives back
    // the same errors.
    options.seed += residue;
    options.progress = nullptr;
    return options;
}

std::optional<AnisotropicTumbling> TumblingOf(const ProteinProject& project, std::size_t residue) {
    if (!project.fit || !project.fit->diffusion || !project.structure) return std::nullopt;
    const auto& bonds = project.structure->bonds.unitVectors;
    const auto bond = bonds.find(project.data.residues.at(residue).residue);
    if (bond == bonds.end()) return std::nullopt;
    return AnisotropicTumbling{project.fit->diffusion->Chosen().tensor, bond->second};
}

}  // namespace veldorin
