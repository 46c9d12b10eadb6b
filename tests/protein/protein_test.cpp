// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "fit/model_free_motion.h"
#include "protein/protein_project.h"
#include "protein/protein_results.h"
#include "protein/residue_document.h"
#include "recalculation/document_fit.h"
#include "tests/support/three_residues.h"

namespace veldorin {
namespace {

ProteinProject FittedProject() {
    ProteinProject project;
    project.data = *ReadProteinData(test::kThreeResidues).data;
    SortBySequence(project.data);
    project.settings.fit.residue.system = BackboneAmide();
    project.settings.fit.monteCarloSets = 0;
    project.settings.fit.jobs = 1;
    project.fit = FitProtein(project.data, project.FitOptions());
    return project;
}

std::vector<std::string> Names(const ProteinData& data) {
    std::vector<std::string> names;
    for (const ResidueData& residue : data.residues) names.push_back(residue.residue);
    return names;
}

TEST(Protein, ResiduesComeInSequenceOrder) {
    const struct {
        const char* name;
        std::vector<std::string> given;
        std::vector<std::string> sorted;
    } cases[] = {
        {"by number, not text", {"10", "9", "100", "1"}, {"1", "9", "10", "100"}},
        {"letters after the number", {"12B", "12", "12A", "K11"}, {"K11", "12", "12A", "12B"}},
        {"numbering below 1", {"2", "-1", "0"}, {"-1", "0", "2"}},
        {"chains first", {"B:1", "A:10", "A:2"}, {"A:2", "A:10", "B:1"}},
        {"names without a number last", {"x", "3", "ligand"}, {"3", "ligand", "x"}},
    };
    for (const auto& c : cases) {
        ProteinData data;
        for (const std::string& name : c.given) data.residues.push_back({name, {}, {}});
        SortBySequence(data);
        EXPECT_EQ(Names(data), c.sorted) << c.name;
    }
}

TEST(Protein, AValueIsShownToTheDigitsOfItsError) {
    const struct {
        double value;
        double error;
        const char* text;
    } cases[] = {
        {0.85234, 0.01234, "0.852 ± 0.012"}, {4812.7, 123.4, "4810 ± 120"},
        {1.5, 0.25, "1.50 ± 0.25"},          {0.85234, std::nan(""), "0.85234"},
        {0.85234, 0.0, "0.85234"},
    };
    for (const auto& c : cases) EXPECT_EQ(ValueWithError(c.value, c.error), c.text) << c.text;
}

TEST(Protein, AResidueBecomesTheModelBeingEditedAndItsEditsComeBack) {
    ProteinProject project = FittedProject();
    ASSERT_EQ(Names(project.data), (std::vector<std::string>{"3", "7", "12"}));
    const std::size_t residue = 1;
    const ModelDocument shown = ResidueDocument(project, residue, DefaultModelDocument()).document;
    EXPECT_EQ(shown.measurements.size(), 9u);
    EXPECT_FALSE(EditOf(shown, shown, project.settings).Any());

    // The document's own fit finds the protein's model again where the protein left it.
    const MotionFitResult refit = FitDocumentMotion(shown);
    ASSERT_NE(refit.status, FitResult::Status::Failed) << refit.reason;
    EXPECT_NEAR(refit.chi2, project.OutcomeOf(residue)->fit->chi2, 1e-6 * (1.0 + refit.chi2));

    ModelDocument edited = shown;
    edited.measurements.erase(edited.measurements.begin());
    const ResidueEdit rows = EditOf(shown, edited, project.settings);
    ASSERT_TRUE(rows.rows);
    EXPECT_EQ(rows.rows->size(), 8u);
    EXPECT_FALSE(rows.model);

    // A model of the family applied by hand is known by what it frees.
    for (int model : {0, 2, 4, 5, 9}) {
        ModelFit shape;
        shape.model = model;
        shape.free = FreeParameters(ModelFreeModelNumber(model), project.settings.fit.residue);
        const ModelAsMotion applied = MotionOfModel(shape);
        ModelDocument chosen = shown;
        chosen.ApplyFit(applied.motion, ParametersOf(applied.motion.kind), applied.rex,
                        std::nullopt);
        chosen.fit.choice = applied.choice;
        const ResidueEdit edit = EditOf(shown, chosen, project.settings);
        if (applied.choice == shown.fit.choice) continue;
        EXPECT_EQ(edit.model, model) << "m" << model;
    }

    // Refitted alone at the protein's tm, with the model chosen.
    project.ChooseModel(residue, 5);
    ProteinData one;
    one.residues.push_back(project.data.residues[residue]);
    const ProteinFit alone = FitProtein(one, ResidueRefitOptions(project, residue));
    ASSERT_TRUE(alone.residues.front().fit);
    EXPECT_EQ(alone.residues.front().fit->model, 5);
    EXPECT_EQ(alone.residues.front().fit->values[ModelFreeParameter::Tm], *project.fit->globalTmPs);
}

// A residue fitted under a tensor shows its fitted spectral density where a motion or the
// six rows hold it; otherwise it says how many rows it needs and shows its tm's.
TEST(Protein, AResidueUnderATensorShowsItsLorentziansOrSaysWhyNot) {
    const ProteinProject fitted = FittedProject();
    // The tensor, the residue's model and the Lorentzians it needs when more than six.
    for (const auto& [tensor, model, needed] : {std::tuple{DiffusionModel::Sphere, 2, 0},
                                                {DiffusionModel::Prolate, 2, 0},
                                                {DiffusionModel::Oblate, 9, 0},
                                                {DiffusionModel::Prolate, 6, 9},
                                                {DiffusionModel::Ellipsoid, 0, 0},
                                                {DiffusionModel::Ellipsoid, 4, 10}}) {
        ProteinProject project = fitted;
        ModelFit& fit = *project.fit->residues[1].fit;
        fit.model = model;
        const double tm = fit.values[ModelFreeParameter::Tm];
        fit.values.values = {tm, 0.85, 0.9, 40.0, 20.0, 1500.0, 2.0, -160.0};
        const double da = tensor == DiffusionModel::Oblate ? -1e7 : 1.2e7;
        const AnisotropicTumbling tumbling{TensorOf(tensor, {tm, da, 0.2, {0.4, 1.1, 2.0}}),
                                           {0.3, -0.5, 0.8}};
        const ResidueModel shown = ResidueDocument(project, 1, DefaultModelDocument(), tumbling);
        SpectralTerms rows;
        for (int row = 0; row < kLorentzianCount; ++row)
            rows.push_back({std::stod(shown.document.texts.weights[row]),
                            std::stod(shown.document.texts.times[row])});
        const SpectralTerms expected = ModelFreeTerms(
            ModelFreeModelNumber(model), fit.values,
            needed ? SpectralTerms{} : TumblingTerms(tumbling.tensor, tumbling.bond));
        for (double w : {0.0, 500.0, 5000.0}) {
            const double j = SpectralDensityOf(expected, w);
            EXPECT_NEAR(SpectralDensityOf(rows, w), j, 1e-6 * j) << "m" << model << " at " << w;
        }
        EXPECT_EQ(shown.note.find(std::to_string(needed) + " Lorentzians") != std::string::npos,
                  needed > 0)
            << shown.note;
    }
}

TEST(Protein, AFitAskedToStopEndsAtOnceMarkedSo) {
    ProteinProject project = FittedProject();
    ProteinFitProgress progress;
    progress.stop = true;
    ProteinFitOptions options = project.FitOptions();
    options.progress = &progress;
    options.monteCarloSets = 50;
    for (bool global : {true, false}) {
        options.globalTm = global;
        options.residue.fitTm = !global;
        EXPECT_TRUE(FitProtein(project.data, options).stopped) << global;
    }
    EXPECT_FALSE(project.fit->stopped);
}

TEST(Protein, TheTableAndThePlotsShowEveryFittedResidue) {
    const ProteinProject project = FittedProject();
    const std::vector<ResultRow> rows = ResultRows(project);
    ASSERT_EQ(rows.size(), 3u);
    for (const ResultRow& row : rows) {
        ASSERT_EQ(row.size(), static_cast<std::size_t>(kResultColumnCount));
        EXPECT_EQ(row[static_cast<std::size_t>(ResultColumn::J0Agrees)].text.empty(), false);
        EXPECT_EQ(row[static_cast<std::size_t>(ResultColumn::Model)].text.front(), 'm');
    }
    EXPECT_EQ(PlotOf(project, SequenceQuantity::R1).points.size(), 9u);
    EXPECT_EQ(PlotOf(project, SequenceQuantity::J0).points.size(), 9u);
    EXPECT_EQ(PlotOf(project, SequenceQuantity::R1).legend.size(), 3u);
}

// Residues 3 and 7 with bonds, 12 without; the tensor fitted is a prolate one.
TEST(Protein, AStructureFitsATensorOfTheChosenModelsAndNothingElseChanges) {
    const struct {
        const char* name;
        bool structure;
        DiffusionChoice choice;
        std::vector<DiffusionModel> models;
    } cases[] = {
        {"no structure", false, DiffusionChoice::Prolate, {}},
        {"one model", true, DiffusionChoice::Oblate, {DiffusionModel::Oblate}},
        {"the criterion chooses",
         true,
         DiffusionChoice::Auto,
         {DiffusionModel::Sphere, DiffusionModel::Prolate, DiffusionModel::Oblate,
          DiffusionModel::Ellipsoid}},
    };
    ProteinProject project = FittedProject();
    ProteinStructure structure;
    structure.bonds.unitVectors = {{"3", {0.0, 0.0, 1.0}}, {"7", {1.0, 0.0, 0.0}}};
    for (const auto& c : cases) {
        project.structure = c.structure ? std::optional(structure) : std::nullopt;
        project.settings.diffusion = c.choice;
        const ProteinFitOptions options = project.FitOptions();
        EXPECT_EQ(options.globalTm, project.settings.fit.globalTm) << c.name;
        ASSERT_EQ(options.diffusion.has_value(), c.structure) << c.name;
        if (!c.structure) continue;
        EXPECT_EQ(options.diffusion->models, c.models) << c.name;
        EXPECT_EQ(options.diffusion->bonds, structure.bonds.unitVectors) << c.name;
    }

    DiffusionResult diffusion;
    diffusion.candidates.push_back({});
    diffusion.candidates[0].model = DiffusionModel::Prolate;
    diffusion.candidates[0].tensor = {DiffusionModel::Prolate, {2e7, 2e7, 3e7}, {}};
    project.fit->diffusion = diffusion;
    // A residue refitted alone sees the tensor through its bond; without one, tm alone.
    EXPECT_FALSE(ResidueRefitOptions(project, 0).diffusion);
    EXPECT_EQ(ResidueRefitOptions(project, 0).residue.tumbling.size(), 3u);
    EXPECT_TRUE(ResidueRefitOptions(project, 2).residue.tumbling.empty());
    const SequencePlot angles = PlotOf(project, SequenceQuantity::BondAngle);
    ASSERT_EQ(angles.points.size(), 2u);
    EXPECT_NEAR(angles.points[0].value, 0.0, 1e-9);
    EXPECT_NEAR(angles.points[1].value, 90.0, 1e-9);
}

// A series keeps its colour from residue to residue, whatever series come before it there.
TEST(Protein, EachResidueShowsItsOwnDecaysInTheirSeriesColours) {
    std::string text = "residue,quantity,field_mhz,delay_s,intensity,error\n";
    for (const char* series : {"5,R1", "5,R2", "6,R2"}) {
        for (const char* point : {"0.02,900", "0.2,700", "0.5,450", "1.0,200"})
            text += std::string(series) + ",600," + point + ",20\n";
    }
    const IntensityDecayRead read = ReadIntensityDecays(text, {false, 0, 1});
    ASSERT_TRUE(read.data) << read.error;
    ProteinProject project;
    project.data = *read.data;
    project.data.residues.push_back({"7", {}, {}});
    project.decays = read.fits;
    const DecayPlot five = DecayPlotOf(project, 0);
    const DecayPlot six = DecayPlotOf(project, 1);
    ASSERT_EQ(five.curves.size(), 2u);
    ASSERT_EQ(six.curves.size(), 1u);
    EXPECT_EQ(six.curves[0].colour, five.curves[1].colour);
    EXPECT_NE(five.curves[0].colour, five.curves[1].colour);
    EXPECT_TRUE(DecayPlotOf(project, 2).curves.empty());
}

}  // namespace
}  // namespace veldorin
