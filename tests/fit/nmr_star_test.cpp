// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/nmr_star.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace veldorin {
namespace {

// One save frame of the list, at 600 MHz, with the list's own tags and the loop.
std::string Entry(const std::string& list, const std::string& category, const std::string& listTags,
                  const std::string& loop) {
    return "data_t\nsave_x\n_" + list + ".Sf_category " + category + "\n_" + list +
           ".Spectrometer_frequency_1H 600\n" + listTags + "loop_\n" + loop + "stop_\nsave_\n";
}
std::string T1(const std::string& units, const std::string& loop) {
    return Entry("Heteronucl_T1_list", "heteronucl_T1_relaxation",
                 "_Heteronucl_T1_list.T1_val_units " + units + "\n", loop);
}
const std::string kT1Loop = "_T1.Seq_ID\n_T1.Atom_ID\n_T1.Val\n_T1.Val_err\n";

// Each residue's name and number of measurements: "1:2,2:3".
std::string Counts(const ProteinData& data) {
    std::string counts;
    for (const ResidueData& residue : data.residues) {
        counts += (counts.empty() ? "" : ",") + residue.residue + ":" +
                  std::to_string(residue.measurements.size());
    }
    return counts;
}

std::string ExampleEntry() {
    std::stringstream text;
    text << std::ifstream(VELDORIN_RELAXATION_EXAMPLE).rdbuf();
    return text.str();
}

struct ReadCase {
    const char* name;
    std::string text;
    std::string counts;
    Quantity quantity;  // of the first residue's first measurement
    double value;
    double error;
};

class NmrStarRead : public testing::TestWithParam<ReadCase> {};

TEST_P(NmrStarRead, TakesAmideRowsInSequenceOrder) {
    const ReadCase& c = GetParam();
    const ProteinDataRead read = ReadNmrStarRelaxation(c.text);
    ASSERT_TRUE(read.data) << read.error;
    EXPECT_EQ(Counts(*read.data), c.counts);
    const Measurement& first = read.data->residues.front().measurements.front();
    EXPECT_EQ(first.fieldMHz, 600.0);
    EXPECT_EQ(first.quantity, c.quantity);
    EXPECT_DOUBLE_EQ(first.value, c.value);
    EXPECT_DOUBLE_EQ(first.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, NmrStarRead,
    testing::Values(
        ReadCase{"ExampleEntry", ExampleEntry(), "1:2,2:3,3:2,4:3,5:3,6:3", Quantity::T1, 0.712,
                 0.014},
        ReadCase{"T1InSeconds", T1("s", kT1Loop + "12 N 0.8 0.02\n2 N 0.7 0.01\n2 CA 9 1\n"),
                 "2:1,12:1", Quantity::T1, 0.7, 0.01},
        ReadCase{"T1InMsByComponentIndex",
                 T1("ms",
                    "_T1.Comp_index_ID\n_T1.Atom_ID\n_T1.T1_val\n_T1.T1_val_err\n"
                    "5 N 850 17\n"),
                 "5:1", Quantity::T1, 0.85, 0.017},
        ReadCase{"T2AsRate",
                 Entry("Heteronucl_T2_list", "heteronucl_T2_relaxation",
                       "_Heteronucl_T2_list.T2_val_units s-1\n",
                       "_T2.Seq_ID\n_T2.Atom_ID\n_T2.T2_val\n_T2.T2_val_err\n3 N 10.5 0.3\n"),
                 "3:1", Quantity::R2, 10.5, 0.3},
        ReadCase{
            "NoeOfAmideOnly",
            Entry("Heteronucl_NOE_list", "heteronucl_NOEs", "",
                  "_Heteronucl_NOE.Seq_ID_1\n_Heteronucl_NOE.Atom_ID_1\n"
                  "_Heteronucl_NOE.Atom_ID_2\n_Heteronucl_NOE.Heteronucl_NOE_val\n"
                  "_Heteronucl_NOE.Heteronucl_NOE_val_err\n4 CA HA 0.1 0.1\n4 N H 0.78 0.03\n"),
            "4:1", Quantity::Noe, 0.78, 0.03},
        ReadCase{"ChainsNamedWhenSeveral",
                 T1("s", kT1Loop + "_T1.Entity_assembly_ID\n5 N 0.8 0.02 2\n5 N 0.7 0.01 1\n"
                                   "3 N 0.9 0.01 2\n"),
                 "1:5:1,2:3:1,2:5:1", Quantity::T1, 0.7, 0.01},
        ReadCase{"OneChainKeepsSeqID",
                 T1("s", kT1Loop + "_T1.Entity_assembly_ID\n5 N 0.8 0.02 1\n3 N 0.9 0.01 1\n"),
                 "3:1,5:1", Quantity::T1, 0.9, 0.01},
        ReadCase{"MissingValueSkipped", T1("s", kT1Loop + "1 N . .\n2 N 0.8 0.02\n3 N ? 0.1\n"),
                 "2:1", Quantity::T1, 0.8, 0.02}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    std::string text;
    std::string error;  // what the error says, in part
};

class NmrStarRefusal : public testing::TestWithParam<ErrorCase> {};

TEST_P(NmrStarRefusal, SaysWhere) {
    const ProteinDataRead read = ReadNmrStarRelaxation(GetParam().text);
    EXPECT_FALSE(read.data);
    EXPECT_NE(read.error.find(GetParam().error), std::string::npos) << read.error;
}

INSTANTIATE_TEST_SUITE_P(
    Files, NmrStarRefusal,
    testing::Values(ErrorCase{"BadValue", T1("s", kT1Loop + "1 N 0.8 0.02\n2 N abc 0.02\n"),
                              "save_x, row 2, _T1.Val: "},
                    ErrorCase{"UnknownUnit", T1("min", kT1Loop + "1 N 0.8 0.02\n"),
                              "_Heteronucl_T1_list.T1_val_units: \"min\" is none of s, ms, s-1"},
                    ErrorCase{"NoValue", T1("s", kT1Loop + "1 N . .\n"), "no backbone amide N row"},
                    ErrorCase{"NoRelaxationFrames",
                              "data_t\nsave_e\n_Entry.Sf_category entry_information\nsave_\n",
                              "no save frame of category"},
                    ErrorCase{"Unparsable", "data_t\nsave_x\n_T1.Val 'open\nsave_\n",
                              "line 3, column 14: unterminated"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NmrStar, TellsStarFromCsv) {
    EXPECT_TRUE(IsNmrStarText("# data\n\n  DATA_x\n"));
    EXPECT_TRUE(IsNmrStarText(ExampleEntry()));
    EXPECT_FALSE(IsNmrStarText("residue,field_mhz,quantity,value,error\ndata_1,600,R1,2,0.1\n"));
    EXPECT_FALSE(IsNmrStarText("# data_x"));
}

}  // namespace
}  // namespace veldorin
