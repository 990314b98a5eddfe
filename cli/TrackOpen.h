#pragma once
// Opening a loop's track on the command line, as the Repeater-to-wave window's Open does.
#include <optional>
#include <string>

#include "ConsoleInteraction.h"
#include "Files.h"
#include "TrackOpening.h"

namespace brenvik::cli {

// The opened track (a warning on the console when it holds less audio than its end sector asks
// for: it sounds silent from there); or nothing after the opener's own message (a track that
// cannot be read is named) and its reason went to the console.
std::optional<OpenedTrack> openTrackFile(const Files& files, ConsoleInteraction& ui, const std::string& path);

}  // namespace brenvik::cli
