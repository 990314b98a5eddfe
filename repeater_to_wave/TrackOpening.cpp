#include "TrackOpening.h"

#include <algorithm>
#include <exception>

#include "ByteSource.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "Messages.h"
#include "Numbers.h"
#include "RoutineError.h"
#include "WaveHeader.h"

namespace brenvik {

namespace {

// Everything before the last separator; a bare name (the empty path of a first cancelled dialog
// too) has no folder.
std::string parentFolder(const std::string& path, const std::string& sep) {
    const size_t cut = path.rfind(sep);
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string afterLast(const std::string& text, const std::string& sep) {
    const size_t cut = text.rfind(sep);
    return cut == std::string::npos ? text : text.substr(cut + sep.size());
}

TrackOpenResult refusal(TrackOpenResult::Outcome outcome, const char* text, MessageIcon icon,
                        std::string reason) {
    TrackOpenResult result;
    result.outcome = outcome;
    result.message = text;
    result.icon = icon;
    result.reason = std::move(reason);
    return result;
}

std::string sizesText(const TrackSizes& s) {
    return "pre-buffer " + intToText(s.pre) + ", audio " + intToText(s.audio) +
           " and post-buffer " + intToText(s.post) + " bytes in a data chunk of " +
           intToText(s.total);
}

// The start and end sectors come from track 1's record whichever track was chosen: the loop
// writer gives all four records the same sectors.
TrackSizes measureTrack(const std::string& trackPath, const std::string& descriptionPath) {
    FileSource track(trackPath);
    FileSource description(descriptionPath);
    return deriveTrackSizes(readTrackInputs(description, track));
}

}  // namespace

TrackOpenResult openTrack(const std::string& path, const Files& files) {
    using Outcome = TrackOpenResult::Outcome;
    const std::string sep = Files::separator();
    const std::string folder = parentFolder(path, sep);
    // Plain concatenation: a track in the root looks for "/loopinfo.ldf".
    const std::string descriptionPath = loop::foundDescriptionPath(folder);
    if (path.find(sep) == std::string::npos)
        return refusal(Outcome::DescriptionMissing, message::kDescriptionElsewhere,
                       MessageIcon::None,
                       path.empty() ? noFileReason(path) : path + " names no folder");
    if (!files.fileExists(descriptionPath))
        return refusal(Outcome::DescriptionMissing, message::kDescriptionElsewhere,
                       MessageIcon::None, noFileReason(descriptionPath));
    if (!files.fileExists(path))
        return refusal(Outcome::TrackMissing, message::kFileMissing, MessageIcon::Critical,
                       noFileReason(path));

    TrackOpenResult result;
    try {
        result.track.sizes = measureTrack(path, descriptionPath);
        const TrackSizes& sizes = result.track.sizes;
        result.track.heldAudio = std::clamp<int64_t>(
            files.fileSize(path) - wave::kHeaderSize - sizes.pre, 0, std::max<int64_t>(sizes.audio, 0));
    } catch (const std::exception&) {
        result.reason = caughtReason();
        return result;  // Failed
    }
    if (!sizesAcceptable(result.track.sizes))
        return refusal(Outcome::Untrimmed, message::kUntrimmedTrack, MessageIcon::None,
                       sizesText(result.track.sizes));
    const std::string fileName = afterLast(path, sep);
    result.outcome = Outcome::Opened;
    result.track.path = path;
    result.track.loopName = afterLast(folder, sep);
    result.track.trackName = fileName.substr(0, fileName.find('.'));
    return result;
}

std::string shortTrackWarning(const OpenedTrack& track) {
    using loop::kTrackBytesPerSecond;
    const double held = static_cast<double>(track.heldAudio) / kTrackBytesPerSecond;
    return track.path + " " + message::holdsOfLoop(held, track.sizes.audio / kTrackBytesPerSecond) + ": " +
           message::waveSilentAfter(held);
}

}  // namespace brenvik
