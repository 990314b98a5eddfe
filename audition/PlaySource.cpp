#include "PlaySource.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <tuple>

#include "ByteOrder.h"
#include "ByteSource.h"
#include "Files.h"
#include "LoopContents.h"
#include "LoopDescription.h"
#include "Messages.h"
#include "RoutineError.h"
#include "TrackSizes.h"
#include "WaveHeader.h"
#include "WaveVerdict.h"

namespace fs = std::filesystem;

namespace brenvik::audition {

namespace {

constexpr int64_t kSampleBytes = 2;

Preparation refused(std::string reason, std::string cause = {}) {
    return Preparation{std::nullopt, std::move(reason), std::move(cause)};
}

Preparation ready(std::vector<SampleRun> runs) {
    PlaySource source;
    for (const SampleRun& run : runs) source.frames = std::max(source.frames, run.frames);
    source.runs = std::move(runs);
    if (source.frames == 0) return refused(message::kNothingToPlay);
    return Preparation{std::move(source), {}, {}};
}

int64_t fileSize(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<int64_t>(size);
}

// A track's audio must lie in its file: a track cut short is named, never played as silence.
std::optional<std::string> shortfall(const std::string& path, int64_t audioStart, int64_t audio) {
    const int64_t size = fileSize(path);
    if (size < 0) return message::playUnreadable(path);
    const int64_t held = std::clamp<int64_t>(size - audioStart, 0, audio);
    if (held < audio) return message::trackShorterThanAudio(path, held, audio);
    return std::nullopt;
}

SampleRun trackRun(const std::string& path, int64_t preBuffer, int64_t audio) {
    return SampleRun{path, wave::kHeaderSize + preBuffer, audio / kSampleBytes, 1};
}

}  // namespace

Preparation sourceOfWave(const std::string& path) {
    WaveVerdict verdict;
    try {
        FileSource file(path);
        verdict = judgeWave(file);
    } catch (const std::exception&) {
        return refused(message::playUnreadable(path), caughtReason());
    }
    using Outcome = WaveVerdict::Outcome;
    if (verdict.outcome == Outcome::WrongRate)
        return refused(message::wrongSampleRate(verdict.format.sampleRate));
    if (verdict.outcome == Outcome::WrongBits)
        return refused(message::wrongBitsPerSample(verdict.format.bitsPerSample));
    const int channels = verdict.format.channels;
    if (!verdict.accepted() || channels < 1 || channels > 2 || verdict.walk.dataSize < 0)
        return refused(message::playNotAWave(path));
    const int64_t start = verdict.walk.dataStart();
    if (auto missing = shortfall(path, start, verdict.walk.dataSize)) return refused(*missing);
    return ready(
        {SampleRun{path, start, verdict.walk.dataSize / (kSampleBytes * channels), channels}});
}

Preparation sourceOfTracks(const TrackAudio& left, const std::optional<TrackAudio>& right) {
    std::vector<SampleRun> runs;
    for (const TrackAudio* track : {&left, right ? &*right : nullptr}) {
        if (!track) continue;
        if (track->preBuffer < 0 || track->audio < 0) return refused(message::kUntrimmedTrack);
        if (auto missing =
                shortfall(track->path, wave::kHeaderSize + track->preBuffer, track->audio))
            return refused(*missing);
        runs.push_back(trackRun(track->path, track->preBuffer, track->audio));
    }
    return ready(std::move(runs));
}

Preparation sourceOfLoop(const std::string& loopFolder) {
    const card::LoopContents contents = card::readLoopContents(Files(), loopFolder);
    if (!contents.hasDescription())
        return refused(message::playNoDescription(loopFolder),
                       contents.readable ? contents.descriptionUnreadable : contents.unreadable);
    const loop::Description& d = contents.description;
    const std::vector<int> chosen = loop::chosenTracks(d);
    if (chosen.empty() || chosen.size() > 2)
        return refused(message::playTrackCount(contents.name, static_cast<int>(chosen.size())));

    // (pan, track, run): the track panned further left plays left.
    std::vector<std::tuple<int32_t, int, SampleRun>> tracks;
    for (int k : chosen) {
        const auto& head = contents.tracks[static_cast<size_t>(k - 1)];
        const std::string path = head ? head->path : (fs::path(loopFolder) / loop::trackFileName(k)).string();
        if (!head || head->fileSize < 0) return refused(message::playUnreadable(path), head ? head->unreadable : "");
        const int record = loop::ldf::recordBase(k);
        TrackSizes sizes;
        try {
            sizes = deriveTrackSizes(
                static_cast<int8_t>(d[static_cast<size_t>(record + loop::ldf::kStartSector)]),
                loop::writtenEndSector(d, k),
                readLeS32(&head->header[wave::kDataSizeOffset]));
        } catch (const std::exception&) {
            return refused(message::kUntrimmedTrack);
        }
        if (!sizesAcceptable(sizes)) return refused(message::kUntrimmedTrack);
        if (auto missing = shortfall(path, wave::kHeaderSize + sizes.pre, sizes.audio))
            return refused(*missing);
        const int32_t pan = loop::readInt24(
            &d[static_cast<size_t>(loop::ldf::kMixPan[static_cast<size_t>(k - 1)])]);
        tracks.emplace_back(pan, k, trackRun(path, sizes.pre, sizes.audio));
    }
    std::sort(tracks.begin(), tracks.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    std::vector<SampleRun> runs;
    for (auto& track : tracks) runs.push_back(std::move(std::get<2>(track)));
    return ready(std::move(runs));
}

}  // namespace brenvik::audition
