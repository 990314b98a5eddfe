#include "WaveSaving.h"

#include <exception>
#include <filesystem>

#include "Messages.h"
#include "RoutineError.h"

namespace fs = std::filesystem;

namespace brenvik {

TrackAudio audioOf(const OpenedTrack& track) {
    return TrackAudio{track.path, track.sizes.pre, track.sizes.audio};
}

WaveSaveResult saveWave(const WaveSaveRequest& request, Platform& platform,
                        const Progress& progress) {
    using Outcome = WaveSaveResult::Outcome;
    WaveSaveResult result{Outcome::Failed, request.outputPath};
    try {
        for (;;) {
            if (!platform.fileExists(result.outputPath)) break;
            const MessageAnswer answer =
                platform.message(message::kFileExists, MessageButtons::YesNoCancel);
            if (answer == MessageAnswer::Yes) {
                platform.deleteFile(result.outputPath);
                break;
            }
            if (answer != MessageAnswer::No) {
                result.outcome = Outcome::Cancelled;
                return result;
            }
            FileDialogRequest again = request.dialog;
            again.fileName = result.outputPath;
            if (std::optional<std::string> chosen = platform.chooseFileToSave(again))
                result.outputPath = *chosen;
        }
        platform.setBusy(true);
        if (request.mode == ChannelMode::Mono) {
            copyTrackToMonoWave(result.outputPath, request.left, progress);
        } else {
            if (!request.right) throw RoutineError("a stereo wave needs a right track");
            interleaveTracksToStereoWave(result.outputPath, request.left, *request.right, progress);
        }
        // The wave is on the device; its name too, before the save counts as done.
        platform.syncFolder(fs::absolute(result.outputPath).parent_path().string());
        result.outcome = Outcome::Written;
    } catch (const std::exception&) {
        // Failed: the busy pointer goes back all the same.
    }
    platform.setBusy(false);
    return result;
}

}  // namespace brenvik
