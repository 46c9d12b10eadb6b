// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "motion/motion_window.h"
#include "tests/support/window_fixture.h"
#include "window/model_files.h"

namespace veldorin::test {
namespace {

using MotionInWindow = WindowTest;

std::array<std::string, kLorentzianCount> Column(
    const std::array<QLineEdit*, kLorentzianCount>& boxes) {
    std::array<std::string, kLorentzianCount> texts;
    for (int row = 0; row < kLorentzianCount; ++row) texts[row] = boxes[row]->text().toStdString();
    return texts;
}

bool StatusSays(const MotionWindow& window, const char* words) {
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().contains(QLatin1String(words))) return true;
    }
    return false;
}

// Typing a motion's parameter sets the Lorentzians it stands for and recalculates; a
// value it cannot take is named and leaves them alone; a box typed by hand shows.
TEST_F(MotionInWindow, AnEditedMotionSetsTheLorentziansUntilTheyAreTypedByHand) {
    Started();
    window_->OpenMotionWindow();
    MotionWindow& motion = window_->motionWindow();
    const auto& controls = window_->controls();
    motion.kindList()->setCurrentIndex(static_cast<int>(MotionKind::ModelFree));
    Q_EMIT motion.kindList()->activated(static_cast<int>(MotionKind::ModelFree));
    QLineEdit* tauM = motion.parameterBox(MotionParameter::TauM);
    tauM->selectAll();
    QTest::keyClicks(tauM, "8");

    MotionTexts texts = DefaultMotionTexts(MotionKind::ModelFree);
    texts[MotionParameter::TauM] = "8";
    const LorentzianTexts expected = TextsOf(ToLorentzians(*ReadMotion(texts).motion));
    EXPECT_EQ(Column(controls.weightBoxes), expected.weights);
    EXPECT_EQ(Column(controls.timeBoxes), expected.times);
    for (const QLineEdit* box : controls.timeBoxes) EXPECT_EQ(box->cursorPosition(), 0);
    EXPECT_EQ(tauM->cursorPosition(), 1) << "the box typed in keeps its cursor";
    ModelTexts model = DefaultModel();
    model.weights = expected.weights;
    model.times = expected.times;
    EXPECT_EQ(ListLines(), EngineTableOf(model));
    EXPECT_TRUE(StatusSays(motion, "hold this motion"));

    QLineEdit* s2 = motion.parameterBox(MotionParameter::S2);
    s2->selectAll();
    QTest::keyClicks(s2, "2");
    EXPECT_EQ(Column(controls.weightBoxes), expected.weights) << "an S2 of 2 changes nothing";

    s2->selectAll();
    QTest::keyClicks(s2, "0.85");
    QTest::keyClick(controls.weightBoxes[0], Qt::Key_End);
    QTest::keyClick(controls.weightBoxes[0], Qt::Key_1);
    EXPECT_TRUE(StatusSays(motion, "Edited by hand"));
}

// A kind chosen after a model was opened keeps the file's texts it shares and starts the
// rest from its defaults; the boxes the program filled show their beginnings.
TEST_F(MotionInWindow, AKindChosenAfterAFileStartsFromItsDefaults) {
    Started();
    MotionWindow& window = window_->motionWindow();
    for (int kind = 0; kind < kMotionKindCount; ++kind) {
        ASSERT_EQ(window_->modelFiles().Open(VELDORIN_MODEL_FREE_EXAMPLE), std::nullopt);
        const MotionTexts file = *window_->document().motion;
        window.kindList()->setCurrentIndex(kind);
        Q_EMIT window.kindList()->activated(kind);
        const MotionTexts defaults = DefaultMotionTexts(static_cast<MotionKind>(kind));
        for (const MotionParameter p : ParametersOf(static_cast<MotionKind>(kind))) {
            const bool shared = std::ranges::count(ParametersOf(file.kind), p) > 0;
            EXPECT_EQ((*window_->document().motion)[p], shared ? file[p] : defaults[p]) << kind;
            EXPECT_EQ(window.parameterBox(p)->cursorPosition(), 0) << kind;
        }
    }
}

}  // namespace
}  // namespace veldorin::test
