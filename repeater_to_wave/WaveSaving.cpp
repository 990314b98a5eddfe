#include "WaveSaving.h"

#include <exception>

#include "RoutineError.h"

namespace brenvik {

TrackAudio audioOf(const OpenedTrack& track) {
    return TrackAudio{track.path, track.sizes.pre, track.sizes.audio};
}

WaveSaveResult saveWave(const WaveSaveRequest& request, Files& files,
                        const OverwritePolicy& mayReplace, const Progress& progress) {
    using Outcome = WaveSaveResult::Outcome;
    try {
        if (files.fileExists(request.outputPath)) {
            switch (mayReplace(request.outputPath)) {
                case ReplaceChoice::Replace:
                    files.deleteFile(request.outputPath);
                    break;
                case ReplaceChoice::Keep:
                    return {Outcome::Kept, {}};
                case ReplaceChoice::Cancel:
                    return {Outcome::Cancelled, {}};
            }
        }
        if (request.outputPath.empty()) throw RoutineError(noFileReason(request.outputPath));
        if (request.mode == ChannelMode::Mono) {
            copyTrackToMonoWave(request.outputPath, request.left, progress);
        } else {
            if (!request.right) throw RoutineError("a stereo wave needs a right track");
            interleaveTracksToStereoWave(request.outputPath, request.left, *request.right,
                                         progress);
        }
        // The wave is on the device; its name too, before the save counts as done.
        files.syncFolder(Files::parentOf(files.absolutePath(request.outputPath)));
        return {Outcome::Written, {}};
    } catch (const std::exception&) {
        return {Outcome::Failed, caughtReason()};
    }
}

}  // namespace brenvik
