#include "TrackPath.h"

#include "Platform.h"

namespace brenvik::r2w {

namespace {

constexpr const char* kDescriptionName = "loopinfo.ldf";

// The parent folder keeps the separator only when it is the root itself ("/track1.wav" lies
// in "/"), as the file system object's parent of a path does.
std::string parentFolder(const std::string& path, const std::string& sep) {
    const size_t cut = path.rfind(sep);
    if (cut == std::string::npos) return {};
    if (cut == 0) return sep;
    return path.substr(0, cut);
}

std::string afterLast(const std::string& text, const std::string& sep) {
    const size_t cut = text.rfind(sep);
    return cut == std::string::npos ? text : text.substr(cut + sep.size());
}

}  // namespace

TrackPath splitTrackPath(const std::string& path) {
    const std::string sep = Platform::separator();
    TrackPath where;
    where.folder = parentFolder(path, sep);
    where.loopName = afterLast(where.folder, sep);
    const std::string fileName = afterLast(path, sep);
    where.trackName = fileName.substr(0, fileName.find('.'));
    // Plain concatenation: a track in the root gives "//loopinfo.ldf", which still names the
    // file in the root.
    where.descriptionPath = where.folder + sep + kDescriptionName;
    return where;
}

}  // namespace brenvik::r2w
