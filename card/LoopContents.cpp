#include "LoopContents.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "ByteSource.h"
#include "CardFolder.h"
#include "LoopFolderName.h"
#include "TrackFile.h"

namespace fs = std::filesystem;

namespace brenvik::card {

LoopContents readLoopContents(const std::string& folder) {
    LoopContents contents;
    contents.folder = folder;
    const fs::path path(folder);
    contents.name = loop::lastFolderName(folder);
    contents.number = loop::loopNumberOf(contents.name).value_or(0);

    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        contents.readable = false;
        return contents;
    }
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            contents.readable = false;
            break;
        }
        std::error_code entryError;
        if (!it->is_regular_file(entryError)) continue;
        const auto size = static_cast<int64_t>(it->file_size(entryError));
        if (entryError) continue;
        contents.sizeOnDisk += size;
        const std::string name = it->path().filename().string();
        if (name == loop::kDescriptionFileName) contents.descriptionSize = size;
        if (const int track = loop::trackOfFileName(name))
            contents.tracks[static_cast<size_t>(track - 1)] = TrackFileHead{size, {}};
    }

    if (contents.descriptionSize) {
        try {
            FileSource source((path / loop::kDescriptionFileName).string());
            source.readZeroFilled(0, contents.description);
            contents.descriptionReadable = true;
        } catch (const std::exception&) {
            // listed as unreadable by the check
        }
    }
    for (int k = 1; k <= loop::kTrackFiles; ++k) {
        auto& head = contents.tracks[static_cast<size_t>(k - 1)];
        if (!head) continue;
        try {
            FileSource source((path / loop::trackFileName(k)).string());
            source.readZeroFilled(0, head->header);
        } catch (const std::exception&) {
            head->fileSize = -1;  // present but unreadable
        }
    }
    return contents;
}

}  // namespace brenvik::card
