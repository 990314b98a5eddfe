#include "TrackOpen.h"

#include "Messages.h"

namespace brenvik::cli {

std::optional<OpenedTrack> openTrackFile(const Files& files, ConsoleInteraction& ui, const std::string& path) {
    const TrackOpenResult result = openTrack(path, files);
    if (result.outcome == TrackOpenResult::Outcome::Opened) {
        // Opened as the window opens it, but not passed off as the whole loop.
        if (!result.track.holdsAllAudio()) ui.message(shortTrackWarning(result.track));
        return result.track;
    }
    const bool failed = result.outcome == TrackOpenResult::Outcome::Failed;
    ui.message(failed ? message::trackUnreadable(path) : result.message, MessageButtons::Ok, result.icon,
               result.reason);
    return std::nullopt;
}

}  // namespace brenvik::cli
