// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "structure/bond_vectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace veldorin {
namespace {

using Vector = std::array<double, 3>;
using Names = std::vector<std::string>;

// A five-residue peptide SER ALA PRO GLY LYS with ideal backbone geometry: with amide H and
// two models (the second turned by 90° about z), without H in chains A and B (B lacks its
// proline), and as mmCIF with the last residue numbered 4A.
std::string Data(const std::string& name) {
    std::stringstream text;
    text << std::ifstream(std::string(VELDORIN_STRUCTURE_DATA) + "/" + name).rdbuf();
    return text.str();
}

Vector Minus(const Vector& a, const Vector& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Vector& a, const Vector& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double Length(const Vector& a) { return std::sqrt(Dot(a, a)); }

struct BondsCase {
    const char* name;
    const char* file;
    BondSelection selection;
    Names keys;
    std::string checked;  // the residue whose direction is compared
    Vector direction;     // by hand from the file's coordinates
    Names placed;
};

class StructureBondsRead : public testing::TestWithParam<BondsCase> {};

TEST_P(StructureBondsRead, GivesUnitVectorsOfTheBackbone) {
    const BondsCase& c = GetParam();
    const auto read = ReadStructureBonds(Data(c.file), c.selection);
    ASSERT_TRUE(read.bonds) << read.error;
    Names keys;
    for (const auto& [key, vector] : read.bonds->unitVectors) {
        keys.push_back(key);
        EXPECT_NEAR(Length(vector), 1, 1e-12);
    }
    EXPECT_EQ(keys, c.keys);
    const Vector& vector = read.bonds->unitVectors.at(c.checked);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(vector[i], c.direction[i] / Length(c.direction), 2e-3);
    EXPECT_EQ(read.bonds->placedHydrogens, c.placed);
    EXPECT_EQ(read.bonds->note.empty(), c.placed.empty());
}

const Names kAmides = {"2", "4", "5"};
const Names kChains = {"A:2", "A:4", "A:5", "B:2", "B:5"};
// The first chain's residues are also found by their number alone.
const Names kChainsAndNumbers = {"2", "4", "5", "A:2", "A:4", "A:5", "B:2", "B:5"};
const Names kCif = {"2", "4", "4A"};
const Vector kLysine = {-0.197, 0.753, -0.644};

INSTANTIATE_TEST_SUITE_P(
    Peptide, StructureBondsRead,
    testing::Values(
        BondsCase{"FileHydrogen", "peptide_h.pdb", {}, kAmides, "4", {-0.488, 0.766, 0.442}, {}},
        BondsCase{"HnIsH", "peptide_h.pdb", {}, kAmides, "5", kLysine, {}},
        BondsCase{"SecondModel", "peptide_h.pdb", {.model = 2}, kAmides, "2", {0, 1, 0}, {}},
        BondsCase{"Mean", "peptide_h.pdb", {.averageModels = true}, kAmides, "2", {1, 1, 0}, {}},
        BondsCase{"PlacedInChainsWithAGap",
                  "peptide.pdb",
                  {},
                  kChainsAndNumbers,
                  "B:2",
                  {1, 0, 0},
                  kChains},
        BondsCase{"PlacedInMmcif", "peptide.cif", {}, kCif, "4A", kLysine, kCif},
        BondsCase{"AnyTwoAtoms",
                  "peptide.cif",
                  {.to = "CA"},
                  {"1", "2", "3", "4", "4A"},
                  "2",
                  {-0.710, -1.273, 0},
                  {}}),
    [](const auto& info) { return info.param.name; });

TEST(PlacedAmideHydrogen, BisectsTheBackboneAngleOutsideIt) {
    const Vector c = {-2.450, -3.557, 3.380}, n = {-2.466, -3.478, 4.706},
                 ca = {-1.796, -4.468, 5.541};
    const Vector nh = Minus(PlacedAmideHydrogen(c, n, ca), n);
    const Vector toC = Minus(c, n), toCa = Minus(ca, n);
    const Vector normal = {toC[1] * toCa[2] - toC[2] * toCa[1], toC[2] * toCa[0] - toC[0] * toCa[2],
                           toC[0] * toCa[1] - toC[1] * toCa[0]};
    EXPECT_NEAR(Length(nh), 1.02, 1e-12);
    EXPECT_NEAR(Dot(nh, normal), 0, 1e-12);
    const double cosC = Dot(nh, toC) / Length(nh) / Length(toC);
    EXPECT_NEAR(cosC, Dot(nh, toCa) / Length(nh) / Length(toCa), 1e-12);
    EXPECT_LT(cosC, 0);
}

struct ErrorCase {
    const char* name;
    std::string text;
    BondSelection selection;
};

class StructureBondsError : public testing::TestWithParam<ErrorCase> {};

TEST_P(StructureBondsError, SaysWhyInsteadOfThrowing) {
    const auto read = ReadStructureBonds(GetParam().text, GetParam().selection);
    EXPECT_FALSE(read.bonds);
    EXPECT_FALSE(read.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, StructureBondsError,
    testing::Values(ErrorCase{"Empty", "", {}},
                    ErrorCase{"NotAStructure", "Residue,R1\n12,1.5\n13,1.6\n", {}},
                    ErrorCase{"BrokenMmcif", "data_x\nloop_\n_atom_site.id\n'open\n", {}},
                    ErrorCase{"ModelZero", Data("peptide_h.pdb"), {.model = 0}},
                    ErrorCase{"ModelBeyondTheEnsemble", Data("peptide_h.pdb"), {.model = 3}},
                    ErrorCase{"NoSuchAtom", Data("peptide.pdb"), {.to = "HZ"}}),
    [](const auto& info) { return info.param.name; });

// Each residue's B-factors in a written file ("A:12" from PDB, "12" from mmCIF).
std::map<std::string, std::set<double>> BFactors(const std::string& text) {
    std::map<std::string, std::set<double>> values;
    Names tags;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("_atom_site.")) tags.push_back(line.substr(11, line.find(' ') - 11));
        if (!line.starts_with("ATOM") && !line.starts_with("HETATM")) continue;
        std::map<std::string, std::string> field;
        std::istringstream words(line);
        for (const std::string& tag : tags) words >> field[tag];
        std::string residue = tags.empty() ? line.substr(21, 1) + ":" + line.substr(22, 5)
                                           : field["auth_seq_id"] + field["pdbx_PDB_ins_code"];
        std::erase_if(residue, [](char c) { return c == ' ' || c == '?'; });
        values[residue].insert(
            std::stod(tags.empty() ? line.substr(60, 6) : field["B_iso_or_equiv"]));
    }
    return values;
}

struct BFactorCase {
    const char* name;
    const char* file;
    std::map<std::string, double> values;
    Names zeroes;  // residues without a value
};

class StructureWithBFactor : public testing::TestWithParam<BFactorCase> {};

TEST_P(StructureWithBFactor, WritesTheValuesAndKeepsTheRest) {
    const BFactorCase& c = GetParam();
    const std::string original = Data(c.file);
    const StructureWrite write = StructureWithBFactors(original, c.values);
    ASSERT_TRUE(write.text) << write.error;
    const auto bFactors = BFactors(*write.text);
    for (const auto& [residue, b] : c.values) EXPECT_EQ(bFactors.at(residue), std::set{b});
    for (const std::string& residue : c.zeroes) EXPECT_EQ(bFactors.at(residue), std::set{0.0});
    EXPECT_EQ(ReadStructureBonds(*write.text, {}).bonds->unitVectors,
              ReadStructureBonds(original, {}).bonds->unitVectors);
    EXPECT_EQ(write.text->find("SOLUTION NMR") != std::string::npos,
              original.find("SOLUTION NMR") != std::string::npos);
}

TEST(StructureWithBFactors, NumbersAloneNameTheFirstChainsResidues) {
    const StructureWrite write = StructureWithBFactors(Data("peptide.pdb"), {{"2", 0.5}});
    ASSERT_TRUE(write.text) << write.error;
    const auto bFactors = BFactors(*write.text);
    EXPECT_EQ(bFactors.at("A:2"), std::set{0.5});
    EXPECT_EQ(bFactors.at("B:2"), std::set{0.0});
}

INSTANTIATE_TEST_SUITE_P(
    Formats, StructureWithBFactor,
    testing::Values(
        BFactorCase{"Pdb", "peptide.pdb", {{"A:2", 0.5}, {"B:5", 1.25}}, {"A:1", "B:2"}},
        BFactorCase{"Mmcif", "peptide.cif", {{"4A", 0.75}, {"2", 0.5}}, {"4", "1"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace veldorin
