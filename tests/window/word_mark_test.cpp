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

TEST_F(WordMarkTest, eighteen_letters_stand_in_three_lines_over_the_shape) {
    const WordMark& mark = Mark();
    QString letters;
    for (int i = 0; i < WordMark::kLetterCount; ++i) {
        letters += mark.letter(i)->text();
        EXPECT_EQ(mark.letter(i)->objectName(), QString("Label16(%1)").arg(i));
    }
    EXPECT_EQ(letters, "VELDORINrelaxrates");
    EXPECT_EQ(mark.position(0), QPointF(5880, 0));
    EXPECT_EQ(mark.position(8).y(), 240);
    EXPECT_EQ(mark.position(17).y(), 360);
}

TEST_F(WordMarkTest, a_full_cycle_ends_every_letter_exactly_where_it_started) {
    WordMark& mark = Mark();
    const Positions start = PositionsOf(mark);
    std::array<QPoint, WordMark::kLetterCount> pixels;
    for (int i = 0; i < WordMark::kLetterCount; ++i) pixels[i] = mark.letter(i)->pos();

    Steps(mark, 17);
    EXPECT_NE(PositionsOf(mark), start) << "the outward phase moved nothing";
    EXPECT_EQ(mark.direction(), -1);
    EXPECT_EQ(mark.cycleSeed(), 3);
    EXPECT_TRUE(mark.timer().isActive());

    Steps(mark, 17);
    EXPECT_EQ(PositionsOf(mark), start);
    for (int i = 0; i < WordMark::kLetterCount; ++i) EXPECT_EQ(mark.letter(i)->pos(), pixels[i]);
    EXPECT_EQ(mark.stepsInPhase(), -1);
    EXPECT_EQ(mark.direction(), 1);
    EXPECT_FALSE(mark.timer().isActive()) << "a complete cycle stops the timer";
}

TEST_F(WordMarkTest, the_next_cycle_takes_new_moves_from_the_next_seed) {
    WordMark& mark = Mark();
    Steps(mark, 17);
    const Positions firstOutward = PositionsOf(mark);
    Steps(mark, 17);
    const Positions start = PositionsOf(mark);
    Steps(mark, 17);
    EXPECT_NE(PositionsOf(mark), firstOutward);
    EXPECT_EQ(mark.cycleSeed(), 4);
    Steps(mark, 17);
    EXPECT_EQ(PositionsOf(mark), start);
}

TEST_F(WordMarkTest, the_interval_grows_by_two_milliseconds_a_step) {
    WordMark& mark = Mark();
    mark.Step();
    EXPECT_EQ(mark.timer().interval(), 100);
    Steps(mark, 16);
    EXPECT_EQ(mark.timer().interval(), 132);
    EXPECT_EQ(mark.stepsInPhase(), -1);
}

TEST_F(WordMarkTest, minimised_ticks_move_nothing_and_restoring_resumes) {
    WordMark& mark = Mark();
    Steps(mark, 5);
    const Positions before = PositionsOf(mark);
    window_->showMinimized();
    ASSERT_TRUE(window_->isMinimized());
    mark.Tick();
    EXPECT_EQ(mark.timer().interval(), 3000);
    EXPECT_EQ(PositionsOf(mark), before);
    EXPECT_EQ(mark.stepsInPhase(), 4);

    window_->showNormal();
    mark.Tick();
    EXPECT_EQ(mark.stepsInPhase(), 5);
    EXPECT_EQ(mark.timer().interval(), 110);
}

TEST_F(WordMarkTest, a_resize_enables_a_still_mark_and_leaves_a_running_cycle_alone) {
    WordMark& mark = Mark();
    Steps(mark, 34);
    ASSERT_FALSE(mark.timer().isActive());
    QResizeEvent resize(window_->size(), window_->size());
    QApplication::sendEvent(window_.get(), &resize);
    EXPECT_TRUE(mark.timer().isActive());

    Steps(mark, 3);
    QApplication::sendEvent(window_.get(), &resize);
    EXPECT_EQ(mark.stepsInPhase(), 2);
    EXPECT_EQ(mark.direction(), 1);
    EXPECT_EQ(mark.cycleSeed(), 3);
}

TEST_F(WordMarkTest, minimising_a_still_mark_enables_its_timer_which_then_ticks_slowly) {
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
