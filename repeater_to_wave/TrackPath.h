#pragma once
// The names the opener derives from a chosen track's path: its loop folder, the loop's name,
// the track's name and where the loop description must lie.
#include <string>

namespace brenvik::r2w {

struct TrackPath {
    std::string folder;           // parent folder of the track ("" when the path has none)
    std::string loopName;         // last component of the folder
    std::string trackName;        // file name up to its first "."
    std::string descriptionPath;  // folder + separator + "loopinfo.ldf"
};

// Pure text work on the path as the dialog returned it; the file system is not asked.
TrackPath splitTrackPath(const std::string& path);

}  // namespace brenvik::r2w
