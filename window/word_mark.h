// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointF>
#include <QTimer>
#include <array>
#include <cstdint>
#include <random>

#include "ui/twips.h"

class QLabel;
class QWidget;

namespace veldorin {

// The animated word mark in the top-right corner: eighteen one-letter labels over a
// drawn shape, which a screen reader reads as one element, moved by a timer. A cycle
// has an outward leg of 17 steps, in which every letter wanders by small random moves,
// and a way back that replays the same moves negated; the generator is re-seeded from
// the cycle's seed before each leg, so both legs draw the same numbers. Positions are
// held in fractional twips and every move is a multiple of 2^-16 twip, so all sums are
// exact and a cycle ends exactly where it began.
class WordMark : public QObject {
    Q_OBJECT

public:
    static constexpr int kLetterCount = 18;

    WordMark(const TwipScale& scale, QWidget* surface);

    // The start-up values: counters reset, generator re-seeded, timer enabled.
    void Start();
    // Any resize of the window, including the restore from minimised, enables the timer;
    // a running cycle goes on where it is.
    void Enable();
    // The timer's tick: a step, unless the window is minimised, which only slows the
    // timer down until the window is restored.
    void Tick();
    // Moves every letter once and times the next step; the last step of a leg turns
    // the direction, and the end of the way back stops the timer.
    void Step();

    QLabel* letter(int index) const { return letters_[index]; }
    QPointF position(int index) const { return {left_[index], top_[index]}; }  // twips
    const QTimer& timer() const { return timer_; }

private:
    void Reseed();
    double Offset();  // one draw: (0.5 - r) * direction * 100 twips, on the exact grid
    void Place(int index);

    TwipScale scale_;
    QWidget* surface_;
    std::array<QLabel*, kLetterCount> letters_{};
    std::array<double, kLetterCount> left_{};
    std::array<double, kLetterCount> top_{};
    std::mt19937 generator_;
    std::uniform_real_distribution<double> uniform_{0.0, 1.0};
    QTimer timer_;
    std::int16_t stepsInLeg_ = -1;  // steps taken in this leg; -1 before its first
    std::int16_t direction_ = 1;    // +1 outward, -1 back
    std::int16_t cycleSeed_ = 2;    // seed of this cycle, 1..1000
};

}  // namespace veldorin
