#include "WaveSaving.h"

#include <exception>
#include <vector>

#include "Messages.h"
#include "OutputIntoLoop.h"
#include "RoutineError.h"

namespace brenvik {

TrackAudio audioOf(const OpenedTrack& track) {
    return TrackAudio{track.path, track.sizes.pre, track.sizes.audio};
}

WaveSaveResult saveWave(const WaveSaveRequest& request, Files& files,
                        const OverwritePolicy& mayReplace, const Progress& progress) {
    using Outcome = WaveSaveResult::Outcome;
    try {
        std::vector<std::string> inputs{request.left.path};
        if (request.right) inputs.push_back(request.right->path);
        // Written over, a track would be read while it is cut short.
        if (backup::isOneOf(request.outputPath, inputs, files)) return {Outcome::IsInput, {}, request.outputPath};
        const bool exists = files.fileExists(request.outputPath);
        if (exists) {
            switch (mayReplace(request.outputPath)) {
                case ReplaceChoice::Replace: break;
                case ReplaceChoice::Keep: return {Outcome::Kept, {}, request.outputPath};
                case ReplaceChoice::Cancel: return {Outcome::Cancelled, {}, request.outputPath};
            }
        }
        if (request.outputPath.empty()) throw RoutineError(noFileReason(request.outputPath));
        if (const std::optional<std::string> reason = backup::backUpLoopAround(request.outputPath, files))
            return {Outcome::NotBackedUp, *reason, request.outputPath};
        if (exists) files.deleteFile(request.outputPath);
        if (request.mode == ChannelMode::Mono) {
            copyTrackToMonoWave(request.outputPath, request.left, progress);
        } else {
            if (!request.right) throw RoutineError("a stereo wave needs a right track");
            interleaveTracksToStereoWave(request.outputPath, request.left, *request.right,
                                         progress);
        }
        // The wave is on the device; its name too, before the save counts as done.
        files.syncFolder(Files::parentOf(files.absolutePath(request.outputPath)));
        return {Outcome::Written, {}, request.outputPath};
    } catch (const std::exception&) {
        return {Outcome::Failed, caughtReason(), request.outputPath};
    }
}

std::string failureMessage(const WaveSaveResult& result) {
    switch (result.outcome) {
        case WaveSaveResult::Outcome::Failed: return message::kSaveFailed;
        case WaveSaveResult::Outcome::NotBackedUp: return message::kBackupFailed;
        case WaveSaveResult::Outcome::IsInput: return message::outputIsInput(result.path);
        default: return {};
    }
}

}  // namespace brenvik
