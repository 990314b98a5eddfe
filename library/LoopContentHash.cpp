#include "LoopContentHash.h"

#include <sys/stat.h>
#include <xxhash.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "ByteSource.h"
#include "LoopFolderName.h"
#include "RoutineError.h"
#include "TrackFile.h"

namespace brenvik::library {

namespace {

constexpr size_t kBlockBytes = 1 << 20;
const std::string kDescription = "loopinfo.ldf";

class Digest {
public:
    Digest() : m_state(XXH3_createState()) {
        if (!m_state) throw std::bad_alloc();
        XXH3_128bits_reset(m_state);
    }
    ~Digest() { XXH3_freeState(m_state); }
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    void update(std::span<const uint8_t> bytes) {
        XXH3_128bits_update(m_state, bytes.data(), bytes.size());
    }
    std::string hex() const {
        const XXH128_hash_t hash = XXH3_128bits_digest(m_state);
        char text[33];
        std::snprintf(text, sizeof text, "%016llx%016llx",
                      static_cast<unsigned long long>(hash.high64),
                      static_cast<unsigned long long>(hash.low64));
        return text;
    }

private:
    XXH3_state_t* m_state;
};

void feedBytes(Digest& digest, FileSource& source) {
    const auto block = std::make_unique_for_overwrite<uint8_t[]>(kBlockBytes);
    for (int64_t at = 0;;) {
        const size_t got = source.readAt(at, std::span(block.get(), kBlockBytes));
        if (got == 0) break;
        digest.update({block.get(), got});
        at += static_cast<int64_t>(got);
    }
}

// The name and the length go in ahead of the bytes, so that bytes moved from the end of one
// file to the start of the next make another hash. The name is the one the Repeater reads,
// whatever case the card holds it in.
void feedFile(Digest& digest, const std::string& name, const std::string& path) {
    FileSource source(path, FileSource::Links::Refuse);
    const uint64_t length = static_cast<uint64_t>(source.size());
    digest.update({reinterpret_cast<const uint8_t*>(name.data()), name.size() + 1});
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) lengthBytes[i] = static_cast<uint8_t>(length >> (8 * i));
    digest.update(lengthBytes);
    feedBytes(digest, source);
}

bool present(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

}  // namespace

ContentHash loopContentHash(const std::string& loopFolder) {
    try {
        Digest digest;
        feedFile(digest, kDescription, loop::pathOnCard(loopFolder, kDescription));
        for (int track = 1; track <= loop::kTrackFiles; ++track) {
            const std::string name = loop::trackFileName(track);
            const std::string path = loop::pathOnCard(loopFolder, name);
            if (present(path)) feedFile(digest, name, path);
        }
        return {digest.hex(), {}};
    } catch (const std::exception& error) {
        return {std::nullopt, error.what()};
    }
}

ContentHash fileContentHash(const std::string& path) {
    try {
        Digest digest;
        FileSource source(path, FileSource::Links::Follow);
        feedBytes(digest, source);
        return {digest.hex(), {}};
    } catch (const std::exception& error) {
        return {std::nullopt, error.what()};
    }
}

std::optional<std::string> loopFingerprint(const std::string& loopFolder) {
    // One pass over the folder: the names the hash reads, in their order, whatever their case.
    std::vector<std::string> names{kDescription};
    for (int track = 1; track <= loop::kTrackFiles; ++track) names.push_back(loop::trackFileName(track));
    std::vector<std::string> parts(names.size());
    std::error_code error;
    for (std::filesystem::directory_iterator it(loopFolder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string entry = it->path().filename().string();
        for (size_t i = 0; i < names.size(); ++i) {
            if (!loop::sameNameOnCard(entry, names[i])) continue;
            struct stat info {};
            if (::lstat(it->path().c_str(), &info) != 0) return std::nullopt;
            parts[i] = names[i] + ':' + std::to_string(info.st_size) + ':' +
                       std::to_string(info.st_mtim.tv_sec) + '.' +
                       std::to_string(info.st_mtim.tv_nsec) + ':' + std::to_string(info.st_ino) +
                       ';';
        }
    }
    if (error || parts.front().empty()) return std::nullopt;
    std::string fingerprint;
    for (const auto& part : parts) fingerprint += part;
    return fingerprint;
}

}  // namespace brenvik::library
