#include "LoopWarnings.h"

#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "Messages.h"

namespace brenvik::card {

namespace {

constexpr int32_t kQuarterSecondBytes = 22050;
// The tempo shown on the Repeater is the written tempo to the nearest tenth; beyond that a tempo
// is off.
constexpr double kTempoTolerance = 0.1;
constexpr int kByteValues = 256;
constexpr int kMostBeats = 32768;  // the tempo bar's positions are 16-bit

// The source a track was written from held between its audio and one sector more per channel (the
// writer drops the last part sector), so a beat count makes a tempo within a range.
struct LengthRange {
    double shortest, longest;  // minutes
};

bool tempoFits(double tempo, int beats, const LengthRange& length) {
    return tempo >= beats / length.longest - kTempoTolerance && tempo <= beats / length.shortest + kTempoTolerance;
}

}  // namespace

std::vector<LoopProblem> loopWarnings(const LoopContents& contents) {
    if (!contents.hasDescription() || *contents.descriptionSize != loop::kDescriptionSize) return {};
    const loop::Description& d = contents.description;
    const std::vector<int> chosen = loop::chosenTracks(d);
    if (chosen.empty()) return {};
    const int64_t audio = int64_t{loop::writtenEndSector(d, chosen[0]) + 1} * loop::kSectorBytes;
    if (audio < kQuarterSecondBytes) return {};
    const LengthRange length{static_cast<double>(audio) / loop::kTrackBytesPerSecond / 60,
                             static_cast<double>(audio + loop::kSectorBytes) / loop::kTrackBytesPerSecond / 60};
    const loop::DecodedDescription decoded = loop::decodeDescription(d);
    const double tempo = loop::tempoOfCode(decoded.tempoCode);
    const int stored = decoded.beatCount;
    if (tempoFits(tempo, stored, length)) return {};
    const std::string file = loop::kDescriptionFileName;
    for (int beats = stored + kByteValues; beats <= kMostBeats; beats += kByteValues)
        if (tempoFits(tempo, beats, length))
            return {{file, "beat count", message::beatCountWrapped(stored, beats), message::beatCountWrappedAdvice(stored)}};
    const double seconds = static_cast<double>(audio) / loop::kTrackBytesPerSecond;
    return {{file, "tempo", message::tempoMismatch(tempo, stored, seconds, stored / length.shortest),
             message::kTempoMismatchAdvice}};
}

}  // namespace brenvik::card
