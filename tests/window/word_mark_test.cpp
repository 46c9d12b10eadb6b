// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QLabel>
#include <QResizeEvent>
#include <QTest>
#include <array>

#include "tests/support/window_fixture.h"
#include "window/word_mark.h"

namespace veldorin::test {
namespace {

using Positions = std::array<QPointF, WordMark::kLetterCount>;

class WordMarkTest : public WindowTest {
protected:
    WordMark& Mark() {
        Started();
        return window_->wordMark();
    }

    static Positions PositionsOf(const WordMark& mark) {
        Positions positions;
        for (int i = 0; i < WordMark::kLetterCount; ++i) positions[i] = mark.position(i);
        return positions;
    }

    static void Steps(WordMark& mark, int count) {
        for (int i = 0; i < count; ++i) mark.Step();
    }
};

TEST_F(WordMarkTest, EighteenLettersStandInThreeLinesOverTheShape) {
    const WordMark& mark = Mark();
    QString letters;
    for (int i = 0; i < WordMark::kLetterCount; ++i) letters += mark.letter(i)->text();
    EXPECT_EQ(letters, "VELDORINrelaxrates");
    EXPECT_EQ(mark.position(0), QPointF(5880, 0));
    EXPECT_EQ(mark.position(8).y(), 240);
    EXPECT_EQ(mark.position(17).y(), 360);
}

TEST_F(WordMarkTest, AFullCycleEndsEveryLetterExactlyWhereItStarted) {
    WordMark& mark = Mark();
    const Positions start = PositionsOf(mark);
    std::array<QPoint, WordMark::kLetterCount> pixels;
    for (int i = 0; i < WordMark::kLetterCount; ++i) pixels[i] = mark.letter(i)->pos();

    Steps(mark, 17);
    EXPECT_NE(PositionsOf(mark), start) << "the outward leg moved nothing";
    EXPECT_TRUE(mark.timer().isActive());

    Steps(mark, 17);
    EXPECT_EQ(PositionsOf(mark), start);
    for (int i = 0; i < WordMark::kLetterCount; ++i) EXPECT_EQ(mark.letter(i)->pos(), pixels[i]);
    EXPECT_FALSE(mark.timer().isActive()) << "a complete cycle stops the timer";
}

TEST_F(WordMarkTest, TheNextCycleTakesNewMovesFromTheNextSeed) {
    WordMark& mark = Mark();
    Steps(mark, 17);
    const Positions firstOutward = PositionsOf(mark);
    Steps(mark, 17);
    const Positions start = PositionsOf(mark);
    Steps(mark, 17);
    EXPECT_NE(PositionsOf(mark), firstOutward);
    Steps(mark, 17);
    EXPECT_EQ(PositionsOf(mark), start);
}

TEST_F(WordMarkTest, TheIntervalGrowsByTwoMillisecondsAStep) {
    WordMark& mark = Mark();
    mark.Step();
    EXPECT_EQ(mark.timer().interval(), 100);
    Steps(mark, 16);
    EXPECT_EQ(mark.timer().interval(), 132);
}

TEST_F(WordMarkTest, MinimisedTicksMoveNothingAndRestoringResumes) {
    WordMark& mark = Mark();
    Steps(mark, 5);
    const Positions before = PositionsOf(mark);
    window_->showMinimized();
    ASSERT_TRUE(window_->isMinimized());
    mark.Tick();
    EXPECT_EQ(mark.timer().interval(), 3000);
    EXPECT_EQ(PositionsOf(mark), before);

    window_->showNormal();
    mark.Tick();
    EXPECT_NE(PositionsOf(mark), before);
    EXPECT_EQ(mark.timer().interval(), 110);
}

TEST_F(WordMarkTest, AResizeEnablesAStillMarkAndLeavesARunningCycleAlone) {
    WordMark& mark = Mark();
    Steps(mark, 34);
    ASSERT_FALSE(mark.timer().isActive());
    const Positions start = PositionsOf(mark);
    QResizeEvent resize(window_->size(), window_->size());
    QApplication::sendEvent(window_.get(), &resize);
    EXPECT_TRUE(mark.timer().isActive());

    // The cycle goes on where it was: the rest of its steps bring it home and stop it.
    Steps(mark, 3);
    QApplication::sendEvent(window_.get(), &resize);
    Steps(mark, 31);
    EXPECT_EQ(PositionsOf(mark), start);
    EXPECT_FALSE(mark.timer().isActive());
}

TEST_F(WordMarkTest, MinimisingAStillMarkEnablesItsTimerWhichThenTicksSlowly) {
    WordMark& mark = Mark();
    Steps(mark, 34);
    ASSERT_FALSE(mark.timer().isActive());
    const Positions still = PositionsOf(mark);
    window_->showMinimized();
    EXPECT_TRUE(mark.timer().isActive());
    mark.Tick();
    EXPECT_EQ(mark.timer().interval(), 3000);
    EXPECT_EQ(PositionsOf(mark), still);
}

}  // namespace
}  // namespace veldorin::test
