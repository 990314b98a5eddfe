#include "LoopPaths.h"

#include <cctype>

#include "Files.h"
#include "LoopFolderName.h"

namespace brenvik::cli {

namespace {

bool hasWaveExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".wav";
}

}  // namespace

bool namesTrack(const std::string& path) {
    const std::string parent = Files::parentOf(path);
    return hasWaveExtension(loop::lastFolderName(path)) &&
           loop::holdsDescription(parent.empty() ? std::string(".") : parent);
}

}  // namespace brenvik::cli
