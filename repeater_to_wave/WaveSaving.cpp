#include "WaveSaving.h"

#include <exception>

#include "BackupStore.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik {

TrackAudio audioOf(const OpenedTrack& track) {
    return TrackAudio{track.path, track.sizes.pre, track.sizes.audio};
}

namespace {

// Backs up the loop whose folder holds the file; nothing when that worked or no loop is there,
// else why not.
std::optional<std::string> backUpLoopAround(const std::string& file, Files& files) {
    const std::string folder = Files::parentOf(files.absolutePath(file));
    if (!loop::holdsDescription(folder)) return std::nullopt;
    try {
        backup::BackupStore(files).backUpLoop(folder);
    } catch (const std::exception&) {
        return caughtReason();
    }
    return std::nullopt;
}

}  // namespace

WaveSaveResult saveWave(const WaveSaveRequest& request, Files& files,
                        const OverwritePolicy& mayReplace, const Progress& progress) {
    using Outcome = WaveSaveResult::Outcome;
    try {
        if (files.fileExists(request.outputPath)) {
            switch (mayReplace(request.outputPath)) {
                case ReplaceChoice::Replace:
                    if (const std::optional<std::string> reason = backUpLoopAround(request.outputPath, files))
                        return {Outcome::NotBackedUp, *reason};
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

std::string failureMessage(const WaveSaveResult& result) {
    switch (result.outcome) {
        case WaveSaveResult::Outcome::Failed: return message::kSaveFailed;
        case WaveSaveResult::Outcome::NotBackedUp: return message::kBackupFailed;
        default: return {};
    }
}

}  // namespace brenvik
