// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/relaxation_across_fields.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

#include "engine/relaxation_terms.h"

namespace veldorin {

namespace {

// Frequencies are taken in blocks of this many; the loops over a block have a fixed
// count, which lets the compiler turn them into vector instructions.
constexpr std::size_t kLanes = 8;
// Values of one block, each already rounded to single where the scalar code stores a
// single, kept as doubles where the formula continues in double.
using Lanes = std::array<double, kLanes>;
// Values of one block that only meet other singles. A product of two singles is exact
// in double, and a sum or quotient of two singles rounded to double and then to single
// is the single operation's result (double has more than twice single's precision plus
// two bits), so the single operations give the scalar code's bits, four to a vector.
using SingleLanes = std::array<float, kLanes>;

// A list of at most N items kept in place, for the few per block that must not cost an
// allocation each time.
template <typename T, std::size_t N>
class FixedList {
public:
    void push_back(const T& item) { items_[count_++] = item; }
    std::size_t size() const { return count_; }
    const T& operator[](std::size_t index) const { return items_[index]; }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + count_; }

private:
    std::array<T, N> items_{};
    std::size_t count_ = 0;
};

double Single(double value) { return static_cast<float>(value); }

// Whether every value rounded to single in a block stayed finite, as StoreSingle would
// have required: a non-finite value times zero is NaN, a finite one adds zero, and a NaN
// stays.
class FiniteCheck {
public:
    void Note(const Lanes& values) {
        for (std::size_t p = 0; p < kLanes; ++p) probe_[p] += values[p] * 0.0;
    }
    void Note(const SingleLanes& values) {
        for (std::size_t p = 0; p < kLanes; ++p) probe_[p] += values[p] * 0.0f;
    }
    bool AllFinite() const {
        return std::all_of(probe_.begin(), probe_.end(), [](double v) { return std::isfinite(v); });
    }

private:
    Lanes probe_{};
};

// The frequencies of one block at which J is needed, a row of lanes each, and J at
// them. All rows are evaluated in one sweep over the Lorentzians, so the sums of many
// rows are under way at once instead of each waiting on its previous term.
class DensityRows {
public:
    // The row of the frequencies w.
    std::size_t Add(const Lanes& w) {
        w_[count_] = w;
        return count_++;
    }

    void Evaluate(const Lorentzians& lorentzians, FiniteCheck& check) {
        for (std::size_t row = 0; row < count_; ++row) j_[row] = {};
        // A scale u that leaves single precision makes its term zero rather than the sum
        // non-finite, so it is checked on its own, unless even the largest time and
        // frequency give a scale within single precision (rounding is monotonic).
        const bool checkScales =
            !(terms::LorentzianScale(LargestTime(lorentzians), LargestFrequency()) <=
              std::numeric_limits<float>::max());
        if (checkScales) {
            AddTerms<true>(lorentzians, check);
        } else {
            AddTerms<false>(lorentzians, check);
        }
        // A non-finite partial sum stays non-finite to the end.
        for (std::size_t row = 0; row < count_; ++row) check.Note(j_[row]);
    }

    const Lanes& J(std::size_t row) const { return j_[row]; }

private:
    template <bool kCheckScales>
    void AddTerms(const Lorentzians& lorentzians, FiniteCheck& check) {
        for (int i = 0; i < kLorentzianCount; ++i) {
            const double c = lorentzians.weights[i];
            if (!(c > 0.0)) continue;
            const double t = lorentzians.times[i];
            for (std::size_t row = 0; row < count_; ++row) {
                Lanes u;
                for (std::size_t p = 0; p < kLanes; ++p) {
                    u[p] = Single(terms::LorentzianScale(t, w_[row][p]));
                }
                if constexpr (kCheckScales) check.Note(u);
                for (std::size_t p = 0; p < kLanes; ++p) {
                    j_[row][p] = Single(terms::LorentzianAddend(t * c, u[p]) + j_[row][p]);
                }
            }
        }
    }

    // Largest in magnitude; infinite if any is, NaN left out (a NaN frequency makes its
    // sum NaN anyway).
    double LargestFrequency() const {
        Lanes largest{};  // lane by lane first, which vectorises
        for (std::size_t row = 0; row < count_; ++row) {
            for (std::size_t p = 0; p < kLanes; ++p) {
                largest[p] = std::max(largest[p], std::abs(w_[row][p]));
            }
        }
        return *std::max_element(largest.begin(), largest.end());
    }
    static double LargestTime(const Lorentzians& lorentzians) {
        double largest = 0.0;
        for (int i = 0; i < kLorentzianCount; ++i) {
            if (lorentzians.weights[i] > 0.0f) {
                largest = std::max(largest, std::abs(static_cast<double>(lorentzians.times[i])));
            }
        }
        return largest;
    }

    // wI, 2 wI and three of each neighbour nucleus.
    static constexpr std::size_t kMaxRows = 2 + 3 * kNeighbourCount;
    std::array<Lanes, kMaxRows> w_;
    std::array<Lanes, kMaxRows> j_;
    std::size_t count_ = 0;
};

Lanes LarmorAt(const Lanes& wH, float gamma, FiniteCheck& check) {
    Lanes omega;
    for (std::size_t p = 0; p < kLanes; ++p) omega[p] = Single(terms::LarmorOmega(wH[p], gamma));
    check.Note(omega);
    return omega;
}

// The sums of densities the dipolar terms of a block scale by D, for the neighbours of
// one nucleus (equal constants give equal frequencies, so equal densities).
struct NucleusDensities {
    float gamma = 0.0f;
    Lanes r1{};
    Lanes r2{};
    Lanes cross{};
};

// The central nucleus and every other nucleus among the neighbours.
using Nuclei = FixedList<NucleusDensities, kNeighbourCount + 1>;

// What stays the same at every frequency: the present neighbours' abundance weights and
// the distinct nuclei among them. Nothing when an abundance is not readable, which fails
// at any frequency. A zero divisor or a weight beyond single precision needs no check of
// its own: it makes the results it enters non-finite, which the blocks' checks see.
struct Invariants {
    std::array<float, kNeighbourCount> weights{};
    FixedList<float, kNeighbourCount> neighbourGammas;  // distinct, other than the central one
    bool anyNeighbour = false;
};

bool ReadInvariants(const WorkingValues& values, Invariants& out) {
    if (!values.centralAbundance.readable()) return false;
    const float centralAbundance = values.centralAbundance.value();
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        const NeighbourValues& neighbour = values.neighbours[slot];
        if (neighbour.kind == SlotKind::Empty) continue;
        if (!neighbour.abundance.readable()) return false;
        out.weights[slot] = centralAbundance * neighbour.abundance.value();
        out.anyNeighbour = true;
        const bool known = neighbour.gamma == values.centralGamma ||
                           std::find(out.neighbourGammas.begin(), out.neighbourGammas.end(),
                                     neighbour.gamma) != out.neighbourGammas.end();
        if (!known) out.neighbourGammas.push_back(neighbour.gamma);
    }
    return true;
}

// The sums of one block, as TotalOf adds them.
struct BlockSums {
    SingleLanes r1{};
    SingleLanes r2{};
    SingleLanes noe{};
    SingleLanes crr{};
};

class BlockEvaluation {
public:
    BlockEvaluation(const WorkingValues& values, const Invariants& invariants, double j0)
        : values_(values), invariants_(invariants), j0_(j0) {}

    // The results of the block's frequencies wH; false at a run-time error.
    bool Evaluate(const Lanes& wH, std::array<FieldResult, kLanes>& results) {
        DensityRows rows;
        const Lanes wI = LarmorAt(wH, values_.centralGamma, check_);
        const std::size_t rowI = rows.Add(wI);
        std::size_t row2I = 0;
        FixedList<std::size_t, kNeighbourCount> nucleusRows;
        if (invariants_.anyNeighbour) {
            Lanes twoI;
            for (std::size_t p = 0; p < kLanes; ++p) twoI[p] = Single(2.0 * wI[p]);
            check_.Note(twoI);
            row2I = rows.Add(twoI);
            for (const float gamma : invariants_.neighbourGammas) {
                nucleusRows.push_back(AddPairFrequencies(
                    rows, LarmorAt(wH, gamma, check_), wI,
                    OppositeSigns(values_.pairFrequencies, values_.centralGamma, gamma)));
            }
        }
        rows.Evaluate(values_.lorentzians, check_);

        const Lanes& jI = rows.J(rowI);
        BlockSums sums;
        if (invariants_.anyNeighbour) {
            const Lanes& j2I = rows.J(row2I);
            // A neighbour of the central nucleus's kind has wS = wI: J(wS - wI) is J(0),
            // J(wS) is J(wI) and J(wI + wS) is J(2 wI).
            Nuclei nuclei;
            nuclei.push_back(UnlikeDensities(values_.centralGamma, jI, J0Lanes(), jI, j2I));
            for (std::size_t k = 0; k < nucleusRows.size(); ++k) {
                const std::size_t first = nucleusRows[k];
                nuclei.push_back(UnlikeDensities(invariants_.neighbourGammas[k], jI, rows.J(first),
                                                 rows.J(first + 1), rows.J(first + 2)));
            }
            AddNeighbours(nuclei, jI, j2I, sums);
        }
        Finish(wH, jI, sums, results);
        return check_.AllFinite();
    }

private:
    // The rows of wS - wI, wS and wI + wS (as PairFrequencies forms them for constants
    // of opposite signs, when told so); the index of the first.
    std::size_t AddPairFrequencies(DensityRows& rows, const Lanes& wS, const Lanes& wI,
                                   bool oppositeSigns) {
        Lanes diff;
        Lanes sum;
        if (oppositeSigns) {
            for (std::size_t p = 0; p < kLanes; ++p) {
                diff[p] = Single(-wS[p] - wI[p]);
                sum[p] = Single(wI[p] - wS[p]);
            }
        } else {
            for (std::size_t p = 0; p < kLanes; ++p) {
                diff[p] = Single(wS[p] - wI[p]);
                sum[p] = Single(wI[p] + wS[p]);
            }
        }
        check_.Note(diff);
        check_.Note(sum);
        const std::size_t first = rows.Add(diff);
        rows.Add(wS);
        rows.Add(sum);
        return first;
    }

    void AddNeighbours(const Nuclei& nuclei, const Lanes& jI, const Lanes& j2I, BlockSums& sums) {
        NucleusDensities like;
        for (std::size_t p = 0; p < kLanes; ++p) {
            like.r1[p] = terms::LikeR1Density(jI[p], j2I[p]);
            like.r2[p] = terms::LikeR2Density(j0_, jI[p], j2I[p]);
        }
        for (int slot = 0; slot < kNeighbourCount; ++slot) {
            const NeighbourValues& neighbour = values_.neighbours[slot];
            if (neighbour.kind == SlotKind::Empty) continue;
            const NucleusDensities& unlike =
                *std::find_if(nuclei.begin(), nuclei.end(),
                              [&](const auto& n) { return n.gamma == neighbour.gamma; });
            const NucleusDensities& dipolar = neighbour.kind == SlotKind::Like ? like : unlike;
            AddNeighbour(neighbour, invariants_.weights[slot], dipolar, unlike.cross, sums);
        }
    }

    Lanes J0Lanes() const {
        Lanes j0;
        j0.fill(j0_);
        return j0;
    }

    NucleusDensities UnlikeDensities(float gamma, const Lanes& jI, const Lanes& jDiff,
                                     const Lanes& jS, const Lanes& jSum) const {
        NucleusDensities densities{gamma, {}, {}, {}};
        for (std::size_t p = 0; p < kLanes; ++p) {
            densities.r1[p] = terms::UnlikeR1Density(jI[p], jDiff[p], jSum[p]);
            densities.r2[p] = terms::UnlikeR2Density(j0_, jI[p], jDiff[p], jS[p], jSum[p]);
            densities.cross[p] = terms::CrossDensity(jDiff[p], jSum[p]);
        }
        return densities;
    }

    // One neighbour's terms weighted and added to the sums, in slot order as TotalOf
    // adds them. The cross-relaxation always takes the unlike kernel, as at one field.
    void AddNeighbour(const NeighbourValues& neighbour, float weight,
                      const NucleusDensities& dipolar, const Lanes& crossDensity, BlockSums& sums) {
        const double d = neighbour.dipolar;
        SingleLanes r1;
        SingleLanes r2;
        SingleLanes cross;
        for (std::size_t p = 0; p < kLanes; ++p) {
            r1[p] = static_cast<float>(terms::R1Term(dipolar.r1[p], d));
            r2[p] = static_cast<float>(terms::R2Term(dipolar.r2[p], d));
            cross[p] = static_cast<float>(terms::CrossTerm(crossDensity[p], d));
        }
        SingleLanes scaled;
        for (std::size_t p = 0; p < kLanes; ++p) {
            scaled[p] = cross[p] / values_.centralGamma * neighbour.gamma * weight;
            r1[p] *= weight;
            r2[p] *= weight;
            cross[p] *= weight;
            sums.r1[p] += r1[p];
            sums.r2[p] += r2[p];
            sums.noe[p] += scaled[p];
            sums.crr[p] += cross[p];
        }
        // A product or sum with a non-finite value is not finite either, so a term that
        // left single precision makes its sum and the result non-finite: the results'
        // check covers every rounding here.
    }

    void Finish(const Lanes& wH, const Lanes& jI, const BlockSums& sums,
                std::array<FieldResult, kLanes>& results) {
        const float share = values_.centralAbundance.value();
        Lanes csa;
        for (std::size_t p = 0; p < kLanes; ++p) {
            csa[p] = Single(terms::Csa(wH[p], values_.centralGamma, values_.csaFactor));
        }
        // A non-finite CSA term makes R1 non-finite, so R1's check covers it.
        Lanes r1;
        Lanes r2;
        for (std::size_t p = 0; p < kLanes; ++p) {
            r1[p] = Single(static_cast<double>(sums.r1[p]) / share + terms::CsaR1(jI[p], csa[p]));
            r2[p] =
                Single(static_cast<double>(sums.r2[p]) / share + terms::CsaR2(j0_, jI[p], csa[p]) +
                       terms::RexR2(values_.rexScale, wH[p]));
        }
        SingleLanes noe;
        SingleLanes crr;
        for (std::size_t p = 0; p < kLanes; ++p) {
            noe[p] = sums.noe[p] / share;
            crr[p] = sums.crr[p] / share;
        }
        check_.Note(r1);
        check_.Note(r2);
        check_.Note(noe);
        check_.Note(crr);
        for (std::size_t p = 0; p < kLanes; ++p) {
            results[p] = {static_cast<float>(r1[p]), static_cast<float>(r2[p]), noe[p], crr[p]};
        }
    }

    const WorkingValues& values_;
    const Invariants& invariants_;
    double j0_;
    FiniteCheck check_;
};

}  // namespace

bool RelaxationAcrossFields(const WorkingValues& values, std::span<const float> wH,
                            std::span<FieldResult> results) {
    if (wH.empty()) return true;
    Invariants invariants;
    if (!ReadInvariants(values, invariants)) return false;

    FiniteCheck zeroCheck;
    DensityRows zero;
    zero.Add(Lanes{});
    zero.Evaluate(values.lorentzians, zeroCheck);
    if (!zeroCheck.AllFinite()) return false;
    const double j0 = zero.J(0)[0];

    BlockEvaluation block(values, invariants, j0);
    for (std::size_t start = 0; start < wH.size(); start += kLanes) {
        // The last block repeats its last frequency in the lanes beyond the end.
        Lanes blockW;
        for (std::size_t p = 0; p < kLanes; ++p) blockW[p] = wH[std::min(start + p, wH.size() - 1)];
        std::array<FieldResult, kLanes> blockResults;
        if (!block.Evaluate(blockW, blockResults)) return false;
        const std::size_t count = std::min(kLanes, wH.size() - start);
        std::copy_n(blockResults.begin(), count,
                    results.begin() + static_cast<std::ptrdiff_t>(start));
    }
    return true;
}

}  // namespace veldorin
