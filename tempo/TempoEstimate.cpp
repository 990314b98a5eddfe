#include "TempoEstimate.h"

#include <algorithm>
#include <cmath>

namespace brenvik::tempo {

namespace {

// An onset this close to a beat lands on it; the weight falls off linearly to the edge. The
// detector's times wander by about one analysis step (6 ms), a played groove by a little more.
constexpr double kLandingSeconds = 0.035;
// Not more than this share of the time between beats, so neighbouring beats never share an onset.
constexpr double kLandingShare = 0.2;
// How much the strength off the grid weighs against the grid's coverage.
constexpr double kOffGridWeight = 1.0;
// Scores this close count as a tie, which a beat count divisible by 4 wins.
constexpr double kTie = 0.03;
// Below this score no grid explains the onsets.
constexpr double kLeastScore = 0.25;

struct GridScore {
    int beats = 0;
    double score = 0;
};

// The strength most strong onsets reach: the scale a beat's coverage is measured against.
double strongStrength(std::vector<double> strengths) {
    const size_t at = strengths.size() * 3 / 4;
    std::nth_element(strengths.begin(), strengths.begin() + static_cast<std::ptrdiff_t>(at), strengths.end());
    return strengths[at];
}

// How well the grid of `beats` explains the onsets: the mean coverage of its beats (each the
// strongest onset landing on it, as a share of a strong onset, at most 1) less the share of all
// strength that lands between beats.
double scoreGrid(const std::vector<Onset>& onsets, double seconds, int beats, double strong, double total) {
    const double period = seconds / beats;
    const double landing = std::min(kLandingSeconds, kLandingShare * period);
    std::vector<double> coverage(static_cast<size_t>(beats), 0.0);
    double offGrid = 0;
    for (const Onset& onset : onsets) {
        const double position = onset.seconds / period;
        const double nearest = std::round(position);
        const double distance = std::abs(position - nearest) * period;
        const double weight = std::max(0.0, 1.0 - distance / landing);
        const int beat = static_cast<int>(nearest) % beats;  // the loop's end is its start
        double& covered = coverage[static_cast<size_t>(beat < 0 ? beat + beats : beat)];
        covered = std::max(covered, std::min(1.0, weight * onset.strength / strong));
        offGrid += (1.0 - weight) * onset.strength;
    }
    double covered = 0;
    for (double c : coverage) covered += c;
    return covered / beats - kOffGridWeight * offGrid / total;
}

}  // namespace

std::optional<TempoEstimate> estimateFromOnsets(const std::vector<Onset>& onsets, double seconds) {
    if (onsets.size() < 2 || !(seconds > 0)) return std::nullopt;
    std::vector<double> strengths;
    double total = 0;
    for (const Onset& onset : onsets) {
        strengths.push_back(onset.strength);
        total += onset.strength;
    }
    const double strong = strongStrength(strengths);
    if (!(strong > 0) || !(total > 0)) return std::nullopt;

    const int fewest = std::max(1, static_cast<int>(std::ceil(seconds * kSlowestTempo / 60.0)));
    const int most = static_cast<int>(std::floor(seconds * kFastestTempo / 60.0));
    std::vector<GridScore> scores;
    for (int beats = fewest; beats <= most; ++beats)
        scores.push_back({beats, scoreGrid(onsets, seconds, beats, strong, total)});
    if (scores.empty()) return std::nullopt;

    const auto best = std::max_element(scores.begin(), scores.end(),
                                       [](const GridScore& a, const GridScore& b) { return a.score < b.score; });
    GridScore chosen = *best;
    for (const GridScore& candidate : scores)
        if (candidate.beats % 4 == 0 && candidate.score >= best->score - kTie &&
            (chosen.beats % 4 != 0 || candidate.score > chosen.score))
            chosen = candidate;
    if (chosen.score < kLeastScore) return std::nullopt;
    return TempoEstimate{60.0 * chosen.beats / seconds, chosen.beats, std::clamp(chosen.score, 0.0, 1.0)};
}

}  // namespace brenvik::tempo
