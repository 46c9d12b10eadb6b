// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QTreeWidget>
#include <thread>

#include "engine/input_preparation.h"
#include "engine/numeric_text.h"
#include "files/input_file.h"
#include "fit/model_free_motion.h"
#include "fit/protein_fit.h"
#include "graph/measurement_points.h"
#include "graph_panel/graph_canvas.h"
#include "measurements/fit_panel.h"
#include "measurements/measurements_window.h"
#include "measurements/model_ranking_panel.h"
#include "measurements/monte_carlo_panel.h"
#include "measurements/monte_carlo_run.h"
#include "motion/motion_window.h"
#include "tests/support/window_fixture.h"
#include "window/main_window_side.h"
#include "window/model_files.h"

namespace veldorin::test {
namespace {

class MeasurementsInWindow : public WindowTest {
protected:
    // The Measurements window on the model-free example and its nine rows.
    MeasurementsWindow& OpenedOnExample() {
        Started();
        EXPECT_EQ(window_->modelFiles().Open(VELDORIN_MODEL_FREE_EXAMPLE), std::nullopt);
        window_->OpenMeasurementsWindow();
        return window_->measurementsWindow();
    }
};

// What the table shows in a cell, and a text typed into one as its editor commits it.
QString Cell(const QTableView& table, int row, int column, int role = Qt::DisplayRole) {
    return table.model()->index(row, column).data(role).toString();
}
void Type(QTableView& table, int row, int column, const QString& text) {
    table.model()->setData(table.model()->index(row, column), text);
}

int PointLinesIn(const DrawCommands& commands) {
    int lines = 0;
    for (const DrawCommand& command : commands) {
        const auto* line = std::get_if<draw::LineInColour>(&command);
        lines += line && line->colour == PointColour(Quantity::R1);
    }
    return lines;
}

// Rows typed in the window are compared with the model after every recalculation, drawn
// in the rates plot, and the pair frequencies chosen there change the table.
TEST_F(MeasurementsInWindow, TypedRowsAreComparedDrawnAndFollowTheSetting) {
    Started();
    window_->OpenMeasurementsWindow();
    MeasurementsWindow& measurements = window_->measurementsWindow();
    QTableView& table = *measurements.table();
    const char* row[] = {"600", "R1", "2.5", "0.1"};
    for (int column = 0; column < kMeasurementColumnCount; ++column) {
        Type(table, 0, column, row[column]);
    }
    ASSERT_EQ(table.model()->rowCount(), 2) << "the row, and an empty one for the next";
    ModelTexts model = DefaultModel();
    const WorkingValues values = InputPreparation().Prepare(model).values;
    const double calculated = CalculatedValue(values, {600.0, Quantity::R1, 2.5, 0.1});
    EXPECT_EQ(Cell(table, 0, kMeasurementColumnCount),
              QString::number(calculated, 'g', 6) + " 1/s");
    const auto& commands = window_->controls().graphCanvas->picture().recording.commands();
    EXPECT_GT(PointLinesIn(commands), 0);

    // An absurd value or uncertainty gives a residual that is short, and reads, or none.
    const std::pair<const char*, const char*> absurd[] = {
        {"1e300", "0.1"}, {"2.5", "1e-300"}, {"1e300", "1e-300"}};
    for (const auto& [value, error] : absurd) {
        Type(table, 0, 2, value);
        Type(table, 0, 3, error);
        const double residual = (calculated - ReadDouble(value)) / ReadDouble(error);
        const QString shown = Cell(table, 0, kMeasurementColumnCount + 1);
        bool reads = false;
        const double read = shown.toDouble(&reads);
        EXPECT_EQ(reads, std::isfinite(residual)) << shown.toStdString();
        if (reads) {
            EXPECT_NEAR(read / residual, 1.0, 1e-2) << shown.toStdString();
        }
        EXPECT_LE(shown.size(), 10) << shown.toStdString();
    }
    Type(table, 0, 3, "0.1");
    Type(table, 0, 2, "x");
    EXPECT_EQ(table.model()->index(0, 2).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(255, 200, 200));
    EXPECT_EQ(Cell(table, 0, kMeasurementColumnCount), "");

    QComboBox& signs = *measurements.pairFrequencyList();
    signs.setCurrentIndex(1);
    Q_EMIT signs.activated(1);
    model.pairFrequencies = PairFrequencySigns::Signed;
    EXPECT_EQ(ListLines(), EngineTableOf(model));
}

// With the fit at every change, an edited measurement moves the freed parameters of the
// motion, and the Lorentzians and table follow it in the same recalculation.
TEST_F(MeasurementsInWindow, TheLiveFitFollowsAnEditedMeasurement) {
    MeasurementsWindow& measurements = OpenedOnExample();
    FitPanel& fit = *measurements.fitPanel();
    fit.freeBox(MotionParameter::S2)->setChecked(true);
    fit.freeBox(MotionParameter::TauE)->setChecked(true);
    fit.liveBox()->setChecked(true);
    const std::string fitted = (*window_->document().motion)[MotionParameter::S2];
    EXPECT_NE(fitted, "0.85") << "the example's S2, fitted to its rows";
    EXPECT_TRUE(fit.resultLabel()->text().contains("χ²"))
        << fit.resultLabel()->text().toStdString();

    Type(*measurements.table(), 1, 2, "8.5");  // R2 at 500 MHz, far higher
    EXPECT_NE((*window_->document().motion)[MotionParameter::S2], fitted);
    const auto& controls = window_->controls();
    const LorentzianTexts texts =
        TextsOf(ToLorentzians(*ReadMotion(*window_->document().motion).motion));
    EXPECT_EQ(controls.weightBoxes[0]->text().toStdString(), texts.weights[0]);
}

// What the fit frees and whether it is live is kept with the model; a motion of another
// kind frees only what it has, so that the model still saves and opens.
TEST_F(MeasurementsInWindow, TheFitSetupIsKeptWithTheModelAndFollowsTheMotion) {
    MeasurementsWindow& measurements = OpenedOnExample();
    FitPanel& fit = *measurements.fitPanel();
    fit.freeBox(MotionParameter::S2)->setChecked(true);
    fit.liveBox()->setChecked(true);
    const QTemporaryDir folder;
    const QString path = folder.filePath("fit.veldorin");
    ASSERT_EQ(window_->modelFiles().SaveTo(path), std::nullopt);
    fit.freeBox(MotionParameter::S2)->setChecked(false);
    fit.liveBox()->setChecked(false);
    ASSERT_EQ(window_->modelFiles().Open(path), std::nullopt);
    EXPECT_TRUE(fit.freeBox(MotionParameter::S2)->isChecked());
    EXPECT_TRUE(fit.liveBox()->isChecked());
    EXPECT_FALSE(window_->isWindowModified()) << "the live refit at opening changes nothing";

    Q_EMIT window_->motionWindow().motionEdited(DefaultMotionTexts(MotionKind::Rigid));
    EXPECT_TRUE(window_->document().fit.choice.free.empty());
    ASSERT_EQ(window_->modelFiles().SaveTo(path), std::nullopt);
    EXPECT_EQ(window_->modelFiles().Open(path), std::nullopt);
}

// Ranking the family applies the best model as the motion, with the choice that frees
// its parameters; another model applies on request, its Rex included; changed rows clear
// the ranking.
TEST_F(MeasurementsInWindow, TheRankedBestModelAppliesAndAnotherOnRequest) {
    MeasurementsWindow& measurements = OpenedOnExample();
    measurements.fitPanel()->freeBox(MotionParameter::TauM)->setChecked(true);
    ModelRankingPanel& ranking = *measurements.rankingPanel();
    const ModelDocument& state = window_->document();
    const std::vector<MeasurementTexts> rows = state.measurements;
    Q_EMIT measurements.rowsEdited({});
    ranking.rankButton()->click();
    EXPECT_EQ(state.motion->kind, MotionKind::ModelFree) << "nothing to rank by: m0 no winner";
    Q_EMIT measurements.rowsEdited({rows.front()});
    ranking.rankButton()->click();
    EXPECT_EQ(state.motion->kind, MotionKind::ModelFree) << "one row and τm free: none left";
    EXPECT_FALSE(ranking.rankingList()->topLevelItem(0)->flags() & Qt::ItemIsEnabled);
    Q_EMIT measurements.rowsEdited(rows);
    ranking.rankButton()->click();
    QTreeWidget& list = *ranking.rankingList();
    ASSERT_EQ(list.topLevelItemCount(), kModelFreeModelCount);
    const QTreeWidgetItem& best = *list.topLevelItem(0);
    EXPECT_TRUE(best.font(0).bold());
    const int number = best.data(0, Qt::UserRole).toInt();
    const MotionKind kind = number == 0 || number == 9   ? MotionKind::Rigid
                            : number >= 5 && number <= 8 ? MotionKind::ExtendedModelFree
                                                         : MotionKind::ModelFree;
    EXPECT_EQ(state.motion->kind, kind) << "m" << number;
    EXPECT_EQ(state.fit.choice.free.front(), MotionParameter::TauM);
    EXPECT_EQ(ListLines(), EngineTableOf(state.texts));

    measurements.fitPanel()->liveBox()->setChecked(true);
    window_->Recalculate();
    EXPECT_EQ(list.topLevelItemCount(), kModelFreeModelCount) << "a live refit keeps it";

    const QList<QTreeWidgetItem*> rigid = list.findItems("m0", Qt::MatchExactly);
    ASSERT_EQ(rigid.size(), 1);
    list.setCurrentItem(rigid.front());
    ranking.applyButton()->click();
    EXPECT_EQ(state.motion->kind, MotionKind::Rigid);
    EXPECT_EQ(window_->controls().rexBox->currentText(), "0");
    EXPECT_FALSE(state.fit.choice.rex);
    EXPECT_EQ(list.topLevelItemCount(), kModelFreeModelCount) << "applying keeps the ranking";

    Type(*measurements.table(), 0, 2, "2.6");
    EXPECT_EQ(list.topLevelItemCount(), 0) << "a ranking of other rows";
    EXPECT_FALSE(ranking.applyButton()->isEnabled());
}

// A motion edit the Lorentzians cannot take runs nothing: the rows keep the values of the
// model, which is unchanged, beside them.
TEST_F(MeasurementsInWindow, AMotionTheLorentziansCannotTakeLeavesTheCalculatedValues) {
    MeasurementsWindow& measurements = OpenedOnExample();
    const QString before = Cell(*measurements.table(), 0, kMeasurementColumnCount);
    ASSERT_FALSE(before.isEmpty());
    window_->OpenMotionWindow();
    QLineEdit* s2 = window_->motionWindow().parameterBox(MotionParameter::S2);
    s2->selectAll();
    QTest::keyClicks(s2, "2");
    EXPECT_EQ(Cell(*measurements.table(), 0, kMeasurementColumnCount), before);
}

// Another criterion clears the ranking the one before ordered; ranking again orders by it.
TEST_F(MeasurementsInWindow, AnotherCriterionClearsTheRanking) {
    ModelRankingPanel& ranking = *OpenedOnExample().rankingPanel();
    const QTreeWidget& list = *ranking.rankingList();
    for (const int criterion : {1, 2, 0}) {
        ranking.rankButton()->click();
        ASSERT_GT(list.topLevelItemCount(), 0);
        ranking.criterionList()->setCurrentIndex(criterion);
        EXPECT_EQ(list.topLevelItemCount(), 0) << criterion;
        EXPECT_EQ(list.headerItem()->text(2), ranking.criterionList()->currentText());
    }
}

// An absurd row is marked on its own, with the reason; the others keep their values and χ².
TEST_F(MeasurementsInWindow, AnAbsurdRowIsMarkedAlone) {
    constexpr int kResidual = kMeasurementColumnCount + 1;
    const struct {
        const char* name;
        MeasurementTexts row;
        int marked;  // the column that says why
    } cases[] = {
        {"a field of 1e30 MHz", {{"1e30", "R1", "2.5", "0.1"}}, 0},
        {"a value far off with a tiny uncertainty", {{"600", "R1", "1e300", "1e-300"}}, kResidual},
        {"a value whose squared residual overflows", {{"600", "T2", "1e300", "0.1"}}, kResidual},
    };
    Started();
    window_->OpenMeasurementsWindow();
    MeasurementsWindow& measurements = window_->measurementsWindow();
    const QTableView& table = *measurements.table();
    const MeasurementTexts good{{"600", "R1", "2.5", "0.1"}};
    for (const auto& c : cases) {
        Q_EMIT measurements.rowsEdited({good, c.row, good});
        for (const int row : {0, 1, 2}) {
            const bool absurd = row == 1;
            EXPECT_EQ(Cell(table, row, c.marked, Qt::ToolTipRole).isEmpty(), !absurd)
                << c.name << ", row " << row;
            EXPECT_TRUE(absurd || !Cell(table, row, kResidual).isEmpty()) << c.name;
        }
        const WorkingValues values = InputPreparation().Prepare(window_->document().texts).values;
        const double residual =
            (CalculatedValue(values, {600.0, Quantity::R1, 2.5, 0.1}) - 2.5) / 0.1;
        const QString chiSquared = measurements.chiSquaredLabel()->text();
        EXPECT_TRUE(chiSquared.contains(QString::number(2 * residual * residual, 'g', 6)))
            << c.name << ": " << chiSquared.toStdString();
    }
}

// A T1 or T2 is shown beside the model's time, in s; a rate beside the model's rate.
TEST_F(MeasurementsInWindow, ATimeIsShownBesideTheModelsTime) {
    const struct {
        Quantity quantity;
        bool time;
    } cases[] = {{Quantity::T1, true}, {Quantity::T2, true}, {Quantity::R2, false}};
    Started();
    window_->OpenMeasurementsWindow();
    MeasurementsWindow& measurements = window_->measurementsWindow();
    for (const auto& c : cases) {
        const std::string name(NameOf(c.quantity));
        Q_EMIT measurements.rowsEdited({{{"600", name, "0.5", "0.01"}}});
        const WorkingValues values = InputPreparation().Prepare(window_->document().texts).values;
        const double rate = CalculatedValue(values, {600.0, c.quantity, 0.5, 0.01});
        const double shown = c.time ? 1.0 / rate : rate;
        const QString calculated = Cell(*measurements.table(), 0, kMeasurementColumnCount);
        EXPECT_EQ(calculated, QString::number(shown, 'g', 6) + (c.time ? " s" : " 1/s")) << name;
        const double residual =
            Cell(*measurements.table(), 0, kMeasurementColumnCount + 1).toDouble();
        EXPECT_EQ(residual > 0, shown > 0.5) << name << ": the sign of calculated minus measured";
    }
}

// Accepts the next message box and keeps its text.
void AcceptNextMessage(QString& text) {
    QTimer::singleShot(0, [&text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->accept();
    });
}

// A bad cell of an import is named by the row the table shows it in, after the rows there.
TEST_F(MeasurementsInWindow, AnImportNamesABadCellByItsRowInTheTable) {
    Started();
    window_->OpenMeasurementsWindow();
    MeasurementsWindow& measurements = window_->measurementsWindow();
    const MeasurementTexts good{{"600", "R1", "2.5", "0.1"}};
    Q_EMIT measurements.rowsEdited({good, good});
    ExpectDialogs(true);
    QString warning;
    AcceptNextMessage(warning);
    measurements.Import("field,quantity,value,error\n600,R1,2.5,0.1\n600,R1,x,0.1\n");
    ExpectDialogs(false);
    const QTableView& table = *measurements.table();
    const int marked = 3;  // the import's second row, after the two there
    ASSERT_FALSE(Cell(table, marked, 2, Qt::ToolTipRole).isEmpty());
    const QString shownRow = table.model()->headerData(marked, Qt::Vertical).toString();
    EXPECT_TRUE(warning.contains("row " + shownRow + " (line 3)")) << warning.toStdString();
}

// Tab and Shift+Tab pass the keyboard on from the table, also from a cell being edited,
// whose edit is kept; Tab goes on to the Import button under the table.
TEST_F(MeasurementsInWindow, TabLeavesTheTable) {
    const struct {
        const char* name;
        Qt::Key key;
        bool editing;
    } cases[] = {{"Tab", Qt::Key_Tab, false},
                 {"Shift+Tab", Qt::Key_Backtab, false},
                 {"Tab while editing", Qt::Key_Tab, true},
                 {"Shift+Tab while editing", Qt::Key_Backtab, true}};
    MeasurementsWindow& measurements = OpenedOnExample();
    QApplication::setActiveWindow(&measurements);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&measurements));
    QTableView& table = *measurements.table();
    const QWidget* import = FindControl(measurements, "importButton");
    for (const auto& c : cases) {
        table.setFocus();
        table.setCurrentIndex(table.model()->index(0, 2));
        const QString typed = Cell(table, 0, 2) + "1";
        if (c.editing) {
            QTest::keyClick(&table, Qt::Key_F2);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
            QTest::keyClicks(QApplication::focusWidget(), "1");
        }
        QTest::keyClick(QApplication::focusWidget(), c.key);
        const QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && focus != &table && !table.isAncestorOf(focus)) << c.name;
        EXPECT_TRUE(c.key != Qt::Key_Tab || focus == import) << c.name;
        if (c.editing) {
            EXPECT_EQ(window_->document().measurements.front().cells[2], typed.toStdString())
                << c.name;
        }
    }
}

// A screen reader is given the χ² line's and the pair-frequency note's current text, and
// meets the window as a window.
TEST_F(MeasurementsInWindow, AScreenReaderHearsTheChangingLines) {
    MeasurementsWindow& measurements = OpenedOnExample();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&measurements)->role(), QAccessible::Window);
    const struct {
        const char* name;
        QLabel* line;
        std::function<void()> change;
    } cases[] = {
        {"χ²", measurements.chiSquaredLabel(),
         [&measurements] { Type(*measurements.table(), 0, 2, "3.5"); }},
        {"pair frequencies", measurements.noteLabel(),
         [&measurements] {
             QComboBox& signs = *measurements.pairFrequencyList();
             Q_EMIT signs.activated(1 - signs.currentIndex());
         }},
    };
    for (const auto& c : cases) {
        const QString before = c.line->text();
        c.change();
        EXPECT_NE(c.line->text(), before) << c.name;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(c.line)->text(QAccessible::Description),
                  c.line->text())
            << c.name;
    }
}

// The synthetic protein of bench/, 76 residues as the batch fit reads them.
QString SyntheticProtein() {
    QFile file(QFileInfo(VELDORIN_MODEL_FREE_EXAMPLE).dir().filePath("../../bench/protein_76.csv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll());
}

// Answers the residue question the next import asks: the residue at `row`, or Cancel.
void AnswerResidueQuestion(std::optional<int> row) {
    QTimer::singleShot(0, [row] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->findChild<QListWidget*>()->count(), 76);
        if (row) dialog->findChild<QListWidget*>()->setCurrentRow(*row);
        row ? dialog->accept() : dialog->reject();
    });
}

// The first rows of a model that has none switch it to signed pair frequencies, and the
// window says so; magnitudes chosen again stay. An import of many residues cancelled takes
// nothing, one of a single residue asks nothing.
TEST_F(MeasurementsInWindow, TheFirstRowsSwitchToSignedPairFrequencies) {
    Started();
    MeasurementsWindow& measurements = window_->measurementsWindow();
    const PairFrequencySigns& signs = window_->document().texts.pairFrequencies;
    ExpectDialogs(true);
    AnswerResidueQuestion(std::nullopt);
    measurements.Import(SyntheticProtein());
    ExpectDialogs(false);
    EXPECT_EQ(signs, PairFrequencySigns::Magnitudes);
    measurements.Import("residue field_mhz quantity value error\n7 600 R1 2.5 0.1\n");
    EXPECT_EQ(window_->document().measurements.size(), 1u);
    EXPECT_EQ(signs, PairFrequencySigns::Signed);
    EXPECT_TRUE(measurements.noteLabel()->text().contains("signed"));
    Q_EMIT measurements.pairFrequencyList()->activated(0);
    measurements.Append("800\tR2\t9\t0.2\n", '\t');
    EXPECT_EQ(signs, PairFrequencySigns::Magnitudes);
    EXPECT_FALSE(measurements.noteLabel()->text().contains("switched"));
}

// An import reads the whole file, however long; one it cannot read is named with the reason.
TEST_F(MeasurementsInWindow, AnImportReadsTheWholeFileOrSaysWhy) {
    Started();
    MeasurementsWindow& measurements = window_->measurementsWindow();
    const QTemporaryDir folder;
    QFile file(folder.filePath("long.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("field_mhz,quantity,value,error\n");
    const std::size_t count = (std::size_t{1} << 20) / 16;  // over 1 MiB
    for (std::size_t row = 0; row < count; ++row) file.write("600,R1,0.0492,0.002\n");
    file.close();
    measurements.ImportPath(file.fileName());
    const MeasurementTexts row{{"600", "R1", "0.0492", "0.002"}};
    EXPECT_TRUE(window_->document().measurements == std::vector(count, row));

    ExpectDialogs(true);
    QString warning;
    AcceptNextMessage(warning);
    measurements.ImportPath(folder.path());
    ExpectDialogs(false);
    const std::string reason = ReadInputFile(folder.path().toStdString()).reason;
    EXPECT_TRUE(warning.contains(QString::fromStdString(reason))) << warning.toStdString();
    EXPECT_EQ(window_->document().measurements.size(), count);
}

// Ranking one residue of a batch file in the window gives the batch fit's model and
// parameters at the same tm: the spin system of the model's texts is the batch's amide.
TEST_F(MeasurementsInWindow, TheRankingOfOneResidueIsTheBatchFits) {
    const QString protein = SyntheticProtein();
    const ProteinData data = *ReadProteinData(protein.toStdString()).data;
    const QString amide =
        QFileInfo(VELDORIN_MODEL_FREE_EXAMPLE).dir().filePath("amide-15N.veldorin");
    const ResidueFitSettings batch{
        .system = BackboneAmide(), .fitTm = false, .tmPs = 4800.0, .fitCsa = false, .tumbling = {}};
    for (int residue = 0; residue < 5; ++residue) {  // made as m2, m3, m4, m5 and m1
        const ModelSelection expected = SelectModel(
            data.residues[static_cast<std::size_t>(residue)].measurements, batch, Criterion::Aic);
        Started();
        ASSERT_EQ(window_->modelFiles().Open(amide), std::nullopt);
        MotionTexts motion = DefaultMotionTexts(MotionKind::ModelFree);
        motion[MotionParameter::TauM] = "4.8";
        Q_EMIT window_->motionWindow().motionEdited(motion);
        MeasurementsWindow& measurements = window_->measurementsWindow();
        ExpectDialogs(true);
        AnswerResidueQuestion(residue);
        measurements.Import(protein);
        ExpectDialogs(false);
        measurements.rankingPanel()->rankButton()->click();

        const ModelAsMotion model = MotionOfModel(expected.fits[expected.chosen]);
        const MotionTexts& shown = *window_->document().motion;
        ASSERT_EQ(shown.kind, model.motion.kind) << "residue " << residue + 1;
        for (MotionParameter parameter : ParametersOf(shown.kind)) {
            EXPECT_NEAR(ReadDouble(shown[parameter]), model.motion[parameter],
                        1e-9 * std::abs(model.motion[parameter]))
                << "residue " << residue + 1 << ", " << InfoOf(parameter).key;
        }
        EXPECT_NEAR(ReadDouble(controls().rexBox->currentText().toStdString()), model.rex,
                    1e-9 * model.rex);
    }
}

// A parameter at its bound or one the data do not determine never shows an error of 0,
// on the Fit tab and the Monte Carlo tab; a fit without degrees of freedom says so.
TEST(FitResults, AParameterWithoutAnErrorSaysWhy) {
    using enum ParameterFlag;
    MotionFitResult result;
    result.status = FitResult::Status::Converged;
    result.motion.kind = MotionKind::ModelFree;
    result.motion[MotionParameter::S2] = 1.0;
    result.errors[MotionParameter::S2] = 0.01;
    result.errors[MotionParameter::TauE] = 5.0;
    result.rexError = 0.1;
    result.freeCount = 3;
    const MotionFitChoice choice{{MotionParameter::S2, MotionParameter::TauE}, true, false};
    const struct {
        const char* said;
        std::vector<ParameterFlag> flags;
        int measurements;
    } cases[] = {{"at its bound", {AtBound, None, AtBound}, 9},
                 {"not determined", {None, Undetermined, None}, 9},
                 {"no degrees of freedom", {}, 3}};
    FitPanel fit(nullptr);
    MonteCarloPanel monteCarlo(nullptr);
    for (const auto& c : cases) {
        result.flags = c.flags;
        result.measurements = c.measurements;
        fit.ShowResult(result, choice);
        const QString text = fit.resultLabel()->text();
        EXPECT_TRUE(text.contains(c.said)) << text.toStdString();
        if (c.flags.empty()) continue;
        monteCarlo.ShowResult(result, choice, {std::vector<ParameterSpread>(3), 10, 10});
        EXPECT_EQ(monteCarlo.resultLabel()->text().count(c.said), text.count(c.said)) << c.said;
    }
}

// The Monte Carlo runs in the background: the same seed gives the same errors. Cancel, a
// changed measurement, a changed choice of free parameters, a new fit and closing the
// window each stop the worker and clear the errors, also those of a run that finished
// but has not reported yet; the window going mid-run leaves no worker behind.
TEST_F(MeasurementsInWindow, MonteCarloErrorsRunInTheBackgroundAndStopWhenAsked) {
    MeasurementsWindow& measurements = OpenedOnExample();
    FitPanel& fit = *measurements.fitPanel();
    fit.freeBox(MotionParameter::S2)->setChecked(true);
    MonteCarloPanel& panel = *measurements.monteCarloPanel();
    const MonteCarloRun& worker = *measurements.findChild<MonteCarloRun*>();
    const auto run = [&panel](int sets) {
        panel.setsBox()->setValue(sets);
        panel.runButton()->click();
    };
    const auto finished = [&panel] {
        return QTest::qWaitFor([&panel] { return panel.runButton()->isEnabled(); }, 20000);
    };
    const QString converged = QStringLiteral("synthetic fits converged");
    run(50);
    EXPECT_FALSE(panel.runButton()->isEnabled());
    ASSERT_TRUE(finished());
    const QString first = panel.resultLabel()->text();
    EXPECT_TRUE(first.contains(converged)) << first.toStdString();
    run(50);
    ASSERT_TRUE(finished());
    EXPECT_EQ(panel.resultLabel()->text(), first);

    // The value last typed into the first row: no way of stopping a run drops it.
    QString typed = Cell(*measurements.table(), 0, 2);
    const struct {
        const char* name;
        std::function<void()> stop;
    } stops[] = {
        {"cancel", [&panel] { panel.cancelButton()->click(); }},
        {"edit",
         [&measurements, &typed] {
             typed += '1';
             Type(*measurements.table(), 0, 2, typed);
         }},
        {"free or fix te", [&fit] { fit.freeBox(MotionParameter::TauE)->toggle(); }},
        {"fit", [&fit] { fit.fitButton()->click(); }},
        {"close", [&measurements] { measurements.close(); }},
    };
    for (const bool finishedFirst : {false, true}) {
        for (const auto& stop : stops) {
            const std::string name = std::string(stop.name) + (finishedFirst ? ", finished" : "");
            window_->OpenMeasurementsWindow();
            run(finishedFirst ? panel.setsBox()->minimum() : panel.setsBox()->maximum());
            // Finished on its thread, its result still waiting in the event queue.
            while (finishedFirst && worker.IsRunning()) std::this_thread::yield();
            stop.stop();
            // A stopped worker ends after the set it is fitting; all of them take seconds.
            EXPECT_TRUE(QTest::qWaitFor([&worker] { return !worker.IsRunning(); }, 1000)) << name;
            QCoreApplication::processEvents();
            EXPECT_FALSE(panel.resultLabel()->text().contains(converged)) << name;
            EXPECT_TRUE(panel.runButton()->isEnabled()) << name;
            EXPECT_TRUE(panel.progressBar()->isHidden()) << name;
            EXPECT_EQ(Cell(*measurements.table(), 0, 2), typed) << name;
            EXPECT_EQ(window_->document().measurements.front().cells[2], typed.toStdString())
                << name;
        }
    }
    // Nor a result that reports before any recalculation has seen the change: a key
    // pressed in a weight box changes the model, its release recalculates.
    window_->OpenMeasurementsWindow();
    run(panel.setsBox()->minimum());
    while (worker.IsRunning()) std::this_thread::yield();
    Paste(controls().weightBoxes[0], QStringLiteral("0.5"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(panel.resultLabel()->text().contains(converged));
    run(panel.setsBox()->maximum());
    window_.reset();
    EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(1000));
}

}  // namespace
}  // namespace veldorin::test
