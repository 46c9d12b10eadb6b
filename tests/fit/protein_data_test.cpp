// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/protein_data.h"

#include <gtest/gtest.h>

#include "engine/format.h"

namespace veldorin {
namespace {

// "1 R1/600=2 NOE/600=0.7; 2 T1/800=0.5": each residue with its measurements as read.
std::string Described(const ProteinData& data) {
    std::string text;
    for (const ResidueData& residue : data.residues) {
        text += (text.empty() ? "" : "; ") + residue.residue;
        for (const Measurement& m : residue.measurements) {
            text += " " + std::string(NameOf(m.quantity)) + "/" + FormatShortestDouble(m.fieldMHz) +
                    "=" + FormatShortestDouble(m.value);
        }
    }
    return text;
}

// The files "a" and "b" read and merged: what they hold, or the first problem told.
std::string ReadAndMerged(const std::vector<std::string>& texts) {
    std::vector<NamedProteinData> files;
    for (const std::string& text : texts) {
        ProteinDataRead read = ReadProteinData(text);
        if (!read.data) return read.error.substr(0, read.error.find('\n'));
        files.push_back({std::string(1, static_cast<char>('a' + files.size())), *read.data});
    }
    const ProteinDataRead merged = MergedProteinData(std::move(files));
    return merged.data ? Described(*merged.data) : merged.error.substr(0, merged.error.find('\n'));
}

TEST(ProteinData, ReadsTheLongAndTheWideFormAndMergesFilesWithoutPoolingAMeasurementTwice) {
    const std::string wideHeader = "residue,R1_600,R1_600_err,NOE_800,noe_800_error\n";
    struct Row {
        const char* name;
        std::vector<std::string> files;
        const char* read;  // what the files hold, or the start of the first problem
    };
    for (const Row& row : {
             Row{"long, tabs, comments, names in any case and with units",
                 {"# 2026\n\nResidue\tField_MHz\tQUANTITY\tValue (1/s)\tError\n  # R1\n"
                  "1\t600\tR1\t2\t0.1\n"},
                 "1 R1/600=2"},
             Row{"long, runs of spaces",
                 {"residue  field_mhz quantity value  error\n 1 600 NOE  0.7 0.03\n"},
                 "1 NOE/600=0.7"},
             Row{"long, a bad value named at its comment-counted line",
                 {"#\nresidue,field_mhz,quantity,Value,error\n1,600,R1,x,0.1\n"},
                 "line 3, column \"Value\": \"x\" "},
             Row{"wide, an empty pair not measured",
                 {wideHeader + "1,2,0.1,,\n2,,,0.7,0.03\n"},
                 "1 R1/600=2; 2 NOE/800=0.7"},
             Row{"wide, T1 in s", {"residue\tT1_600\tT1_600_err\nA\t0.5\t0.01\n"}, "A T1/600=0.5"},
             Row{"wide, a value without its uncertainty",
                 {wideHeader + "1,2,,,\n"},
                 "line 2, column \"R1_600_err\": missing where column \"R1_600\" is given"},
             Row{"wide, an uncertainty not above 0",
                 {wideHeader + "1,2,0,,\n"},
                 "line 2, column \"R1_600_err\": not above 0"},
             Row{"wide, a column without its pair",
                 {"residue,R1_600\n1,2\n"},
                 "line 1, column \"R1_600\": no column"},
             Row{"wide, a column twice",
                 {"residue,R1_600,R1_600_err,r1_600.0\n1,2,0.1,2\n"},
                 "line 1, column \"r1_600.0\": the same as column \"R1_600\""},
             Row{"wide, a column that is none",
                 {"residue,R1-600,R1_600,R1_600_err\n1,2,2,0.1\n"},
                 "line 1, column \"R1-600\": neither"},
             Row{"wide, a field out of range",
                 {"residue,R1_0,R1_0_err\n1,2,0.1\n"},
                 "line 1, column \"R1_0\": field not between"},
             Row{"wide, a residue twice",
                 {wideHeader + "1,2,0.1,,\n1,,,0.7,0.03\n"},
                 "line 3, column \"residue\": \"1\" has its row on line 2"},
             Row{"wide, no row measured", {wideHeader + "1,,,,\n"}, "line 1: no row holds"},
             Row{"two files merged by residue, in file order",
                 {"residue,field_mhz,quantity,value,error\n2,600,R1,2,0.1\n",
                  wideHeader + "1,,,0.7,0.03\n2,,,0.8,0.03\n"},
                 "2 R1/600=2 NOE/800=0.8; 1 NOE/800=0.7"},
             Row{"a rate in two files",
                 {"residue,field_mhz,quantity,value,error\n1,600,R1,2,0.1\n",
                  "residue,T1_600,T1_600_err\n1,0.5,0.01\n"},
                 "b: line 2: residue \"1\": T1 at 600 MHz, which a gives as R1 on line 2"},
         }) {
        EXPECT_TRUE(ReadAndMerged(row.files).starts_with(row.read))
            << row.name << ": " << ReadAndMerged(row.files);
    }
}

}  // namespace
}  // namespace veldorin
