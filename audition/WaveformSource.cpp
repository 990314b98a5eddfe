#include "WaveformSource.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "LoopLayout.h"
#include "WaveHeader.h"

namespace brenvik::audition {

WaveformSource waveformOfWave(const PlaySource& wave) {
    WaveformSource view = waveformOfLoop(wave);
    const SampleRun& run = wave.runs.front();
    const bool stereo = run.channels == 2;
    const auto dataBytes = static_cast<int32_t>(run.frames * 2 * run.channels);
    view.markTo = loop::audioLength(dataBytes, stereo) / 2;
    return view;
}

WaveformSource waveformOfTracks(const OpenedTrack& left, const std::optional<OpenedTrack>& right) {
    WaveformSource view;
    for (const OpenedTrack* track : {&left, right ? &*right : nullptr}) {
        if (!track) continue;
        std::error_code ec;
        const auto fileSize = static_cast<int64_t>(std::filesystem::file_size(track->path, ec));
        const int64_t held = ec ? 0 : std::max<int64_t>(fileSize - wave::kHeaderSize, 0);
        const int64_t data = std::min<int64_t>(std::max(track->sizes.total, 0), held);
        view.runs.push_back(SampleRun{track->path, wave::kHeaderSize, data / 2, 1});
    }
    view.markFrom = view.playFrom = left.sizes.pre / 2;
    view.markTo = (left.sizes.pre + left.sizes.audio) / 2;
    return view;
}

WaveformSource waveformOfLoop(const PlaySource& loop) {
    return WaveformSource{loop.runs, 0, loop.frames, 0};
}

}  // namespace brenvik::audition
