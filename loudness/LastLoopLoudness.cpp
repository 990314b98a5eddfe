#include "LastLoopLoudness.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace brenvik::loudness {

LastLoopLoudness::Stamp LastLoopLoudness::stampOf(const std::string& loopFolder) {
    Stamp stamp{loopFolder};
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(loopFolder, ec)) {
        std::error_code fileEc;
        const auto size = entry.file_size(fileEc);
        const auto modified = entry.last_write_time(fileEc);
        if (fileEc) continue;
        stamp.push_back(entry.path().filename().string() + '/' + std::to_string(size) + '/' +
                        std::to_string(modified.time_since_epoch().count()));
    }
    std::sort(stamp.begin() + 1, stamp.end());
    return stamp;
}

const LoudnessResult& LastLoopLoudness::of(const std::string& loopFolder) {
    Stamp stamp = stampOf(loopFolder);
    if (stamp != m_stamp) {
        m_result = loudnessOfLoop(loopFolder);
        m_stamp = std::move(stamp);
    }
    return m_result;
}

}  // namespace brenvik::loudness
