// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "files/input_file.h"
#include "protein/protein_project.h"

namespace veldorin {

// A protein project file: one JSON object in UTF-8 ("format": "veldorin-protein") holding
// the data files' names, every residue's measurements with their lines, the settings
// (not the threads), the choices made by hand, the whole last fit and the fitted series of
// peak intensities ("decays", which files from before them do not have) and, only when
// there is one, the structure with its bond, its model of an ensemble when not model 1
// ("ensembleModel": 3, or "ensembleAverage": true) and diffusion choice ("structure") and the
// fit's tensors ("fit.diffusion", without the first estimates), so that a project reopens
// exactly as it was saved. Numbers are JSON numbers that read back as the same
// double; what JSON has no number for is a text: "nan", "inf", "-inf", and "-0" for the
// negative zero. The seed, a 64-bit number, is a text of its digits too. The spin system
// is the nucleus and one partner, named as on the command line, as --fit takes it; tm is
// "global", "local" or "fixed" as there.
inline constexpr int kProteinProjectFormatVersion = 1;
// Largest project file read and written.
inline constexpr std::size_t kMaxProteinProjectFileBytes = kMaxInputFileBytes;

QByteArray ProteinProjectJson(const ProteinProject& project);

struct ProteinProjectRead {
    std::optional<ProteinProject> project;  // set when the file holds a valid project
    QString error;                          // otherwise the file's name and what is wrong
    // What the user should know of a project read: its structure has not the model of an
    // ensemble the file keeps, and model 1 was taken instead.
    QString note;
};

// The project in the JSON, `name` naming it in the error. Unknown keys are ignored; a
// missing key or a value of the wrong kind is an error that names its place
// ("residues[2].measurements[0].error"), as are a model other than m0..m9, a nucleus
// without a gyromagnetic constant, a measurement whose field or error is not above 0, a
// fit whose residues are not the data's in their order, more Monte Carlo sets than
// kMaxMonteCarloSets, a newer format version and a file that is not a project at all.
ProteinProjectRead ProteinProjectFromJson(const QByteArray& json, const QString& name);

// Reads a project file, bounded as every input file is read.
ProteinProjectRead ReadProteinProjectFile(const QString& path);

// Replaces the file with the project through SaveAside, so that a failed save leaves the
// old file whole; a project larger than a file that opens again is refused before anything
// is written. Returns a message naming the file and what went wrong, if so.
std::optional<QString> WriteProteinProjectFile(const QString& path, const ProteinProject& project);

}  // namespace veldorin
