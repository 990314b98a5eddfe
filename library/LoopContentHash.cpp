#include "LoopContentHash.h"

#include <filesystem>
#include <memory>
#include <span>

#include "ByteSource.h"
#include "LoopFolderName.h"
#include "RoutineError.h"
#include "Sha256.h"
#include "TrackFile.h"

namespace brenvik::library {

namespace {

constexpr size_t kBlockBytes = 1 << 20;

// The name and the length go in ahead of the bytes, so that bytes moved from the end of one
// file to the start of the next make another hash. The name is the one the Repeater reads,
// whatever case the card holds it in.
void feedFile(backup::Sha256& digest, const std::string& name, const std::string& path) {
    FileSource source(path, FileSource::Links::Refuse);
    const uint64_t length = static_cast<uint64_t>(source.size());
    digest.update({reinterpret_cast<const uint8_t*>(name.data()), name.size() + 1});
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) lengthBytes[i] = static_cast<uint8_t>(length >> (8 * i));
    digest.update(lengthBytes);
    const auto block = std::make_unique_for_overwrite<uint8_t[]>(kBlockBytes);
    for (int64_t at = 0;;) {
        const size_t got = source.readAt(at, std::span(block.get(), kBlockBytes));
        if (got == 0) break;
        digest.update({block.get(), got});
        at += static_cast<int64_t>(got);
    }
}

}  // namespace

ContentHash loopContentHash(const std::string& loopFolder) {
    try {
        backup::Sha256 digest;
        const std::string description = "loopinfo.ldf";
        feedFile(digest, description, loop::pathOnCard(loopFolder, description));
        for (int track = 1; track <= loop::kTrackFiles; ++track) {
            const std::string name = loop::trackFileName(track);
            const std::string path = loop::pathOnCard(loopFolder, name);
            std::error_code ignored;
            if (!std::filesystem::exists(std::filesystem::symlink_status(path, ignored))) continue;
            feedFile(digest, name, path);
        }
        return {backup::Sha256::hex(digest.finish()), {}};
    } catch (const std::exception& error) {
        return {std::nullopt, error.what()};
    }
}

}  // namespace brenvik::library
