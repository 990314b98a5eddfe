#pragma once
// `info` on a Repeater loop folder (its loopinfo.ldf decoded, its check triples verified, its
// track files listed, its loudness measured) and on one track file of such a folder (its sizes
// as the Repeater-to-wave opener derives them, and whether the opener's check passes).
#include <string>

#include "ByteSource.h"
#include "Files.h"
#include "InfoReport.h"

namespace brenvik::cli {

// Adds "description" (the decoded loopinfo.ldf with both check triples), "tracks" (the four
// track records and whether each track file is in the folder) and "loudness" (the integrated
// loudness and true peak of the chosen tracks as they play) to report.
void describeLoopFolder(InfoNode& report, const Files& files, const std::string& folder, FileSource& description);

// The opener's inputs, the sizes it derives and its verdict; loopName and trackName as the
// Repeater-to-wave window shows them.
InfoNode describeTrack(const std::string& loopName, const std::string& trackName,
                       FileSource& description, FileSource& track);

}  // namespace brenvik::cli
