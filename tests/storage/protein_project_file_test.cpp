// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/protein_project_file.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "engine/format.h"
#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::TempFolder;

// Two residues of a protein at three fields, and one with too few measurements for a model.
const char kProtein[] =
    "residue,field_mhz,quantity,value,error\n"
    "1,500,R1,2.4708,0.0492\n1,500,R2,6.5016,0.128\n1,500,NOE,0.57321,0.03\n"
    "1,600,R1,2.0697,0.0411\n1,600,R2,6.5679,0.133\n1,600,NOE,0.6579,0.03\n"
    "1,800,R1,1.5583,0.0314\n1,800,R2,7.5719,0.151\n1,800,NOE,0.62163,0.03\n"
    "2,500,R1,2.5408,0.0514\n2,500,R2,7.0543,0.143\n2,500,NOE,0.72191,0.03\n"
    "2,600,R1,2.0371,0.0426\n2,600,R2,7.2943,0.151\n2,600,NOE,0.79368,0.03\n"
    "2,800,R1,1.5725,0.032\n2,800,T2,0.11326,0.0023\n2,800,NOE,0.84911,0.03\n"
    "few,600,R1,2.0,0.04\nfew,600,NOE,0.7,0.03\n";

// Peak intensities of residue 1's R1 at 600 MHz, with their errors.
const char kIntensities[] =
    "residue,quantity,field_mhz,delay_s,intensity,error\n"
    "1,R1,600,0.02,784422,4000\n1,R1,600,0.2,583067,4000\n1,R1,600,0.4,425819,4000\n"
    "1,R1,600,0.8,231008,4000\n1,R1,600,1.2,110625,4000\n";

// A protein fitted with one tm and Monte Carlo, a model chosen by hand and settings away
// from their defaults, holding the doubles JSON has no number for.
ProteinProject FittedProject() {
    ProteinProject project;
    project.sources = {"protein.csv", "dynamics ü.str"};
    project.data = *ReadProteinData(kProtein).data;
    project.settings.fit.monteCarloSets = 4;
    project.settings.fit.jobs = 1;
    project.ChooseModel(1, 2);
    project.ChooseModel(2, 4);
    project.fit = FitProtein(project.data, project.FitOptions());
    project.settings.fit.seed = std::numeric_limits<std::uint64_t>::max();
    project.settings.fit.criterion = Criterion::Bic;
    project.settings.fit.model = 4;
    project.settings.fit.residue.system.pairFrequencies = PairFrequencySigns::Magnitudes;
    project.settings.fit.residue.system.rexAt800 = 0.1;
    project.settings.rexFieldMHz = 600.0;
    project.choices["few"].rowsEdited = true;
    std::vector<double>& calculated = project.fit->residues[0].calculated;
    calculated.insert(calculated.end(), {-0.0, std::numeric_limits<double>::infinity(),
                                         -std::numeric_limits<double>::infinity(), 5e-324,
                                         std::numeric_limits<double>::max(), 0.1 + 0.2});
    project.decays = ReadIntensityDecays(kIntensities, {false, 0, 1}).fits;
    return project;
}

// Every value a project holds, in one list, so that two projects compare field by field;
// a double by its shortest exact text.
std::vector<std::string> FieldsOf(const ProteinProject& project) {
    std::vector<std::string> fields = project.sources;
    const auto add = [&](std::initializer_list<double> values) {
        for (const double value : values) fields.push_back(FormatShortestDouble(value));
    };
    for (const ResidueData& residue : project.data.residues) {
        fields.push_back(residue.residue);
        for (const Measurement& m : residue.measurements) {
            add({m.fieldMHz, static_cast<double>(m.quantity), m.value, m.error});
        }
        for (const int line : residue.lines) add({static_cast<double>(line)});
    }
    const ProteinSettings& settings = project.settings;
    const ProteinFitOptions& options = settings.fit;
    const FitSpinSystem& system = options.residue.system;
    fields.insert(fields.end(), {settings.nucleus, settings.partner, std::to_string(options.seed)});
    add({system.centralGamma, system.neighbours.at(0).gamma, system.neighbours.at(0).distance,
         system.csaPpm, system.rexAt800, static_cast<double>(system.pairFrequencies),
         static_cast<double>(options.model.value_or(-1)), static_cast<double>(options.criterion),
         static_cast<double>(options.globalTm), static_cast<double>(options.residue.fitTm),
         options.residue.tmPs, static_cast<double>(options.residue.fitCsa),
         static_cast<double>(options.monteCarloSets), settings.rexFieldMHz});
    for (const auto& [residue, model] : options.chosenModels) {
        fields.push_back(residue + "=" + std::to_string(model));
    }
    for (const auto& [residue, choice] : project.choices) {
        fields.push_back(residue);
        add({static_cast<double>(choice.model.value_or(-1)),
             static_cast<double>(choice.rowsEdited)});
    }
    for (const DecayFit& decay : project.decays) {
        const DecaySeries& series = decay.series;
        fields.push_back(series.residue);
        add({static_cast<double>(series.quantity), series.fieldMHz,
             static_cast<double>(series.errorsGiven), decay.i0, decay.i0Error, decay.rate,
             decay.rateError, decay.offset, decay.offsetError, decay.chi2});
        for (const DecayPoint& p : series.points) {
            add({p.delayS, p.intensity, p.error, static_cast<double>(p.line)});
        }
    }
    if (!project.fit) return fields;
    const ProteinFit& fit = *project.fit;
    add({fit.globalTmPs.value_or(-1.0), fit.globalTmErrorPs,
         static_cast<double>(fit.globalTmErrorSource), fit.globalTmLowPs, fit.globalTmHighPs,
         static_cast<double>(fit.rounds), static_cast<double>(fit.stopped)});
    for (const ResidueOutcome& outcome : fit.residues) {
        fields.insert(fields.end(), {outcome.residue, outcome.failure});
        for (const EliminatedModel& model : outcome.eliminated) {
            fields.push_back(std::to_string(model.model) + " " + model.reason);
        }
        add({static_cast<double>(outcome.monteCarloFailed)});
        for (const double value : outcome.calculated) add({value});
        if (const auto& model = outcome.fit) {
            fields.insert(fields.end(), {model->reason, model->eliminated, model->FlagsText()});
            add({static_cast<double>(model->model), static_cast<double>(model->status), model->chi2,
                 static_cast<double>(model->measurements)});
            for (const double value : model->values.values) add({value});
            for (const double value : model->errors.values) add({value});
            for (const ModelFreeParameter p : model->free) add({static_cast<double>(p)});
        }
        if (const auto& errors = outcome.monteCarlo) {
            for (const ParameterSpread& s : errors->spread) {
                add({s.standardDeviation, s.low, s.high});
            }
            add({errors->s2.standardDeviation, errors->s2.low, errors->s2.high,
                 static_cast<double>(errors->fitted)});
        }
    }
    return fields;
}

TEST(ProteinProjectFile, AFittedProjectReopensExactlyAsItWasSaved) {
    const ProteinProject project = FittedProject();
    ASSERT_TRUE(project.fit->residues[0].monteCarlo);
    ASSERT_FALSE(project.fit->residues[2].fit);
    ASSERT_EQ(project.decays.size(), 1u);
    const TempFolder folder;
    const QString path = folder.Path(QStringLiteral("protein.json"));
    ASSERT_EQ(WriteProteinProjectFile(path, project), std::nullopt);
    const ProteinProjectRead read = ReadProteinProjectFile(path);
    ASSERT_TRUE(read.project) << read.error.toStdString();
    EXPECT_EQ(FieldsOf(*read.project), FieldsOf(project));
    EXPECT_EQ(ProteinProjectJson(*read.project), ProteinProjectJson(project));
}

// The tensor's values and errors, each candidate's model, chi2, score and rounds' tensors.
std::vector<std::string> DiffusionFieldsOf(const DiffusionResult& diffusion) {
    std::vector<std::string> fields = diffusion.withoutBond;
    const auto add = [&](const std::array<double, 3>& values) {
        for (const double value : values) fields.push_back(FormatShortestDouble(value));
    };
    fields.push_back(std::to_string(diffusion.chosen));
    for (const DiffusionModelFit& fit : diffusion.candidates) {
        fields.insert(fields.end(),
                      {std::string(DiffusionModelName(fit.model)), fit.failure,
                       FormatShortestDouble(fit.chi2), FormatShortestDouble(fit.score),
                       std::to_string(fit.parameters), std::to_string(fit.rounds.size()),
                       FormatShortestDouble(fit.errors.tmPs)});
        for (const auto& values :
             {fit.tensor.d, fit.tensor.eulerAngles, fit.errors.d, fit.errors.axesDegrees})
            add(values);
        for (const DiffusionRound& round : fit.rounds) add(round.tensor.d);
    }
    return fields;
}

TEST(ProteinProjectFile, AStructureAndTheTensorsFittedFromItReopenAsSaved) {
    ProteinProject project = FittedProject();
    const QByteArray withoutStructure = ProteinProjectJson(project);
    const InputFileRead cif = ReadInputFile(VELDORIN_STRUCTURE_DATA "/peptide.cif");
    ASSERT_TRUE(cif.bytes);
    // Residue 1 begins the peptide's chain: it has no amide H, and "few" is not there.
    project.settings.diffusion = DiffusionChoice::Auto;
    project.structure =
        ReadProteinStructure("peptide.cif", *cif.bytes, project.settings.bond, project.data)
            .structure;
    ASSERT_TRUE(project.structure);
    project.fit = FitProtein(project.data, project.FitOptions());
    ASSERT_TRUE(project.fit->diffusion);
    project.fit->diffusion->candidates[0].tensor.eulerAngles = {0.1 + 0.2, -0.0, 1e-300};

    const ProteinProjectRead read =
        ProteinProjectFromJson(ProteinProjectJson(project), QStringLiteral("p.json"));
    ASSERT_TRUE(read.project) << read.error.toStdString();
    ASSERT_TRUE(read.project->structure && read.project->fit->diffusion);
    EXPECT_EQ(DiffusionFieldsOf(*read.project->fit->diffusion),
              DiffusionFieldsOf(*project.fit->diffusion));
    EXPECT_EQ(read.project->structure->bonds.unitVectors, project.structure->bonds.unitVectors);
    EXPECT_EQ(read.project->settings.diffusion, DiffusionChoice::Auto);
    EXPECT_EQ(ProteinProjectJson(*read.project), ProteinProjectJson(project));
    // Without a structure, not a key more.
    const QJsonObject root = QJsonDocument::fromJson(withoutStructure).object();
    EXPECT_FALSE(root.contains("structure"));
    EXPECT_FALSE(root["fit"].toObject().contains("diffusion"));
}

TEST(ProteinProjectFile, TheModelOfAnEnsembleIsKeptAndOneTheStructureLacksIsReadAsModel1) {
    const InputFileRead pdb = ReadInputFile(VELDORIN_STRUCTURE_DATA "/peptide_h.pdb");  // 2 models
    ProteinProject project;
    project.data = *ReadProteinData(kProtein).data;
    // Written with the first bond; the file's model replaced by the number when there is one.
    const std::tuple<const char*, BondSelection, int, BondSelection> rows[] = {
        {"model 1", {}, 0, {}},
        {"model 2", {.model = 2}, 0, {.model = 2}},
        {"average", {.averageModels = true}, 0, {.averageModels = true}},
        {"model 7 of 2", {.model = 2}, 7, {}}};
    for (const auto& [name, bond, inFile, expected] : rows) {
        project.settings.bond = bond;
        project.structure = ReadProteinStructure("p.pdb", *pdb.bytes, bond, project.data).structure;
        QJsonObject root = QJsonDocument::fromJson(ProteinProjectJson(project)).object();
        QJsonObject structure = root["structure"].toObject();
        // Model 1 writes not a key more than before the choice was kept.
        EXPECT_EQ(structure.size(), bond == BondSelection{} ? 4 : 5) << name;
        if (inFile > 0) structure["ensembleModel"] = inFile;
        root["structure"] = structure;
        const ProteinProjectRead read = ProteinProjectFromJson(QJsonDocument(root).toJson(), "p");
        ASSERT_TRUE(read.project) << name;
        EXPECT_TRUE(read.project->settings.bond == expected) << name;
        EXPECT_EQ(read.note.contains("no model 7"), inFile > 0) << name;
    }
}

TEST(ProteinProjectFile, AFileThatIsNoProjectIsRefusedSayingWhatIsWrong) {
    const QJsonObject good = QJsonDocument::fromJson(ProteinProjectJson(FittedProject())).object();
    using Edit = std::function<void(QJsonObject&)>;
    const auto at = [](QJsonObject& object, const char* key, const Edit& edit) {
        QJsonObject member = object[QLatin1String(key)].toObject();
        edit(member);
        object[QLatin1String(key)] = member;
    };
    const auto firstOf = [](QJsonObject& object, const char* key, const Edit& edit) {
        QJsonArray list = object[QLatin1String(key)].toArray();
        QJsonObject first = list[0].toObject();
        edit(first);
        list[0] = first;
        object[QLatin1String(key)] = list;
    };
    struct Row {
        const char* name;
        Edit edit;
        const char* problem;
    };
    for (const Row& row : {
             Row{"another format", [](QJsonObject& o) { o["format"] = "veldorin-model"; },
                 "not a VELDORIN protein project (no \"format\": \"veldorin-protein\")"},
             Row{"a later version", [](QJsonObject& o) { o["version"] = 2; },
                 "written in protein project format version 2 by a newer VELDORIN; this one "
                 "reads version 1"},
             Row{"a key missing",
                 [&](QJsonObject& o) {
                     at(o, "settings", [](QJsonObject& s) { s.remove("seed"); });
                 },
                 "the key \"settings.seed\" is missing"},
             Row{"a model beyond m9",
                 [&](QJsonObject& o) {
                     at(o, "settings", [](QJsonObject& s) { s["model"] = 10; });
                 },
                 "\"settings.model\" must be a whole number from 0 to 9"},
             Row{"a measured value that is not finite",
                 [&](QJsonObject& o) {
                     firstOf(o, "residues", [&](QJsonObject& r) {
                         firstOf(r, "measurements", [](QJsonObject& m) { m["value"] = "nan"; });
                     });
                 },
                 "\"residues[0].measurements[0].value\" must be a finite number"},
             Row{"a fit of other residues",
                 [&](QJsonObject& o) {
                     at(o, "fit", [&](QJsonObject& f) {
                         firstOf(f, "residues", [](QJsonObject& r) { r["residue"] = "7"; });
                     });
                 },
                 "\"fit.residues[0].residue\" must be \"1\", the residue of the data there"},
             Row{"a decay of the NOE",
                 [&](QJsonObject& o) {
                     firstOf(o, "decays", [](QJsonObject& d) { d["quantity"] = "NOE"; });
                 },
                 "\"decays[0].quantity\" must be R1 or R2"},
         }) {
        QJsonObject edited = good;
        row.edit(edited);
        const ProteinProjectRead read =
            ProteinProjectFromJson(QJsonDocument(edited).toJson(), QStringLiteral("p.json"));
        EXPECT_FALSE(read.project) << row.name;
        EXPECT_EQ(read.error.toStdString(), std::string("p.json: ") + row.problem) << row.name;
    }
    // Written before the decays were kept: read as it was.
    QJsonObject withoutDecays = good;
    withoutDecays.remove("decays");
    const ProteinProjectRead older =
        ProteinProjectFromJson(QJsonDocument(withoutDecays).toJson(), QStringLiteral("p.json"));
    ASSERT_TRUE(older.project) << older.error.toStdString();
    EXPECT_TRUE(older.project->decays.empty());
    EXPECT_TRUE(ProteinProjectFromJson("[]", "p.json").error.contains("not a JSON object"));
    const TempFolder folder;
    EXPECT_TRUE(ReadProteinProjectFile(folder.Path("none.json")).error.endsWith("no such file"));

    // Cut anywhere, or with a byte changed, a file is refused or read, never a crash.
    const QByteArray bytes = ProteinProjectJson(FittedProject());
    for (qsizetype at = 0; at < bytes.size(); at += 97) {
        EXPECT_TRUE(ProteinProjectFromJson(bytes.left(at), "p.json").error.startsWith("p.json: "));
        QByteArray changed = bytes;
        changed[at] = static_cast<char>(changed[at] ^ 0x15);
        const ProteinProjectRead read = ProteinProjectFromJson(changed, "p.json");
        EXPECT_NE(read.project.has_value(), read.error.startsWith("p.json: ")) << at;
    }
}

}  // namespace
}  // namespace veldorin
