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

// The animated word mark in the top-right corner: eighteen one-letter labels
// Label16(0..17) over the shape Shape2, moved by Timer1. A cycle has an outward phase
// of 17 steps, in which every letter wanders by small random moves, and a back phase
// that replays the same moves negated; the generator is re-seeded from dance_seed
// before each phase, so both phases draw the same numbers. Positions are held in
// fractional twips and every move is a multiple of 2^-16 twip, so all sums are exact
// and a cycle ends exactly where it began.
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
    void Timer1_Timer();
    void StepWordMark();

    QLabel* letter(int index) const { return letters_[index]; }
    QPointF position(int index) const { return {left_[index], top_[index]}; }  // twips
    const QTimer& timer() const { return timer_; }
    std::int16_t dance_count() const { return dance_count_; }
    std::int16_t dance_sign() const { return dance_sign_; }
    std::int16_t dance_seed() const { return dance_seed_; }

private:
    void Reseed();
    double Offset();  // one draw: (0.5 - r) * dance_sign * 100 twips, on the exact grid
    void Place(int index);

    TwipScale scale_;
    QWidget* surface_;
    std::array<QLabel*, kLetterCount> letters_{};
    std::array<double, kLetterCount> left_{};
    std::array<double, kLetterCount> top_{};
    std::mt19937 generator_;
    std::uniform_real_distribution<double> uniform_{0.0, 1.0};
    QTimer timer_;
    std::int16_t dance_count_ = -1;  // steps taken in this phase; -1 before its first
    std::int16_t dance_sign_ = 1;    // +1 outward, -1 back
    std::int16_t dance_seed_ = 2;    // seed of this cycle, 1..1000
};

}  // namespace veldorin
