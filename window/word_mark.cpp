// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/word_mark.h"

#include <QFontMetrics>
#include <QLabel>
#include <QWidget>
#include <cmath>
#include <string>

#include "ui/spoken_name.h"
#include "window/control_factory.h"
#include "window/layout.h"

namespace veldorin {

namespace {

// One line of the mark: its letters, top and font, and where it starts or ends.
struct MarkLine {
    std::string letters;
    int top;
    double points;
    Rgb colour;
    int left;   // first letter's left edge, or
    int right;  // the last letter's right edge when left is 0
};

// Eight capitals over two small words, eighteen letters in all. The small lines are
// only 120 twips apart, less than their height: they stand staggered, side by side.
const std::array<MarkLine, 3> kLines{{
    {"VELDORIN", 0, 12.0, {0, 0, 192}, 5880, 0},
    {"relax", 240, kNormalPoints, {255, 0, 0}, 6000, 0},
    {"rates", 360, kNormalPoints, {0, 128, 0}, 0, 7020},
}};

constexpr int kFirstInterval = 1000;
constexpr int kMinimisedInterval = 3000;
constexpr int kLastStepOfLeg = 15;  // a leg ends once stepsInLeg goes beyond this
constexpr std::int16_t kMaxSeed = 1000;
constexpr double kStride = 100.0;  // twips of the largest move, either way
constexpr double kGrid = 65536.0;  // moves are whole multiples of 1/kGrid twip

}  // namespace

WordMark::WordMark(const TwipScale& scale, QWidget* surface)
    : QObject(surface), scale_(scale), surface_(surface) {
    timer_.setInterval(kFirstInterval);
    connect(&timer_, &QTimer::timeout, this, &WordMark::Tick);

    int index = 0;
    QStringList words;
    for (const MarkLine& line : kLines) {
        words << QString::fromStdString(line.letters);
        const QFontMetrics metrics(DesignFont(line.points, true));
        // Letters stand at their natural advances; the italic overhang gets a little room.
        std::vector<int> advances;
        int total = 0;
        for (const char letter : line.letters) {
            advances.push_back(static_cast<int>(
                std::lround(scale_.ToTwips(metrics.horizontalAdvance(QChar(letter))))));
            total += advances.back();
        }
        const int height = static_cast<int>(std::lround(scale_.ToTwips(metrics.height())));
        const int slack = static_cast<int>(std::lround(scale_.ToTwips(metrics.height() / 3)));
        int left = line.left != 0 ? line.left : line.right - total;
        for (std::size_t i = 0; i < line.letters.size(); ++i, ++index) {
            const ControlSpec entry{
                .kind = ControlKind::Label,
                .place = {left, line.top, advances[i] + slack, height},
                .text = std::string(1, line.letters[i]),
                .look = {.points = line.points, .italic = true, .text = line.colour}};
            letters_[index] = static_cast<QLabel*>(MakeControl(entry, scale_, surface_));
            left_[index] = left;
            top_[index] = line.top;
            left += advances[i];
        }
    }
    // Read as the words it shows, not spelled out letter by letter.
    SpeakAsOne({letters_.begin(), letters_.end()}, words.join(' '));
}

void WordMark::Start() {
    stepsInLeg_ = -1;
    direction_ = 1;
    cycleSeed_ = 2;
    Reseed();
    timer_.start();
}

void WordMark::Enable() {
    if (!timer_.isActive()) timer_.start();
}

void WordMark::Tick() {
    if (surface_->window()->isMinimized()) {
        timer_.setInterval(kMinimisedInterval);
        return;
    }
    Step();
}

void WordMark::Step() {
    if (stepsInLeg_ == -1 && direction_ == 1) Reseed();
    for (int i = 0; i < kLetterCount; ++i) {
        left_[i] += Offset();
        top_[i] += Offset();
        Place(i);
    }
    ++stepsInLeg_;
    // Each step of a leg comes a little later than the one before.
    timer_.setInterval(stepsInLeg_ * 2 + 100);
    if (stepsInLeg_ <= kLastStepOfLeg) return;

    stepsInLeg_ = -1;
    direction_ = static_cast<std::int16_t>(-direction_);
    // The way back replays this seed: re-seed before the seed moves on.
    Reseed();
    if (direction_ == 1) {
        // The cycle is complete: the mark rests until a resize enables the timer again.
        timer_.stop();
        return;
    }
    ++cycleSeed_;
    if (cycleSeed_ > kMaxSeed) cycleSeed_ = 1;
}

void WordMark::Reseed() {
    generator_.seed(static_cast<std::mt19937::result_type>(cycleSeed_));
    uniform_.reset();
}

double WordMark::Offset() {
    const double r = uniform_(generator_);
    // Rounding to the grid is symmetric, so the way back's move is exactly the negated
    // outward move, and sums of grid multiples this small are exact in a double.
    return std::round((0.5 - r) * direction_ * kStride * kGrid) / kGrid;
}

void WordMark::Place(int index) { letters_[index]->move(scale_.Point(left_[index], top_[index])); }

}  // namespace veldorin
