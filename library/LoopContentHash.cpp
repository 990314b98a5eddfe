#include "LoopContentHash.h"

#include <sys/stat.h>
#include <xxhash.h>
#if defined(__x86_64__)
#include <xxh_x86dispatch.h>  // the widest vector unit the processor has: the same hash, faster
#endif

#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "ByteSource.h"
#include "Files.h"
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
    // One block for each thread, kept: a fresh megabyte for every file costs more in page faults
    // than hashing a short track does.
    thread_local const auto block = std::make_unique_for_overwrite<uint8_t[]>(kBlockBytes);
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

const std::vector<std::string>& hashedFileNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all{kDescription};
        for (int track = 1; track <= loop::kTrackFiles; ++track) all.push_back(loop::trackFileName(track));
        return all;
    }();
    return names;
}

// The name each hashed file has in the folder, whatever its case (its own name first), from one
// read of the folder; empty for a file that is not there.
std::vector<std::string> namesInFolder(const std::string& loopFolder) {
    const auto& wanted = hashedFileNames();
    std::vector<std::string> found(wanted.size());
    std::error_code error;
    for (std::filesystem::directory_iterator it(loopFolder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string entry = it->path().filename().string();
        for (size_t i = 0; i < wanted.size(); ++i)
            if (loop::sameNameOnCard(entry, wanted[i]) && found[i] != wanted[i]) found[i] = entry;
    }
    if (error) throw RoutineError(loopFolder + ": " + error.message());
    return found;
}

}  // namespace

ContentHash loopContentHash(const std::string& loopFolder) {
    try {
        Digest digest;
        const auto& wanted = hashedFileNames();
        const auto found = namesInFolder(loopFolder);
        bool ownNames = true;
        for (size_t i = 0; i < wanted.size(); ++i) {
            // A loop without its description has no hash: the read of the missing file says why.
            if (found[i].empty() && i > 0) continue;
            const std::string& name = found[i].empty() ? wanted[i] : found[i];
            ownNames = ownNames && name == wanted[i];
            feedFile(digest, wanted[i], loopFolder + '/' + name);
        }
        return {digest.hex(), {}, ownNames};
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

namespace {

// "name:size:nanoseconds:inode;": one entry's part of a fingerprint ("" and no size for the folder).
std::string part(const std::string& name, int64_t size, int64_t modified, uint64_t inode) {
    return name + ':' + std::to_string(size) + ':' + std::to_string(modified) + ':' + std::to_string(inode) + ';';
}

// The part of the entry `name` of the folder ("" for the folder itself); an empty text when it is
// not there, nothing when it cannot be looked at.
std::optional<std::string> entryFingerprint(const std::string& loopFolder, const std::string& name) {
    struct stat info {};
    const std::string path = name.empty() ? loopFolder : loopFolder + '/' + name;
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT ? std::optional<std::string>("") : std::nullopt;
    if (S_ISLNK(info.st_mode)) return std::nullopt;  // the hash reads no links
    return part(name, name.empty() ? 0 : info.st_size, info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec,
                info.st_ino);
}

}  // namespace

std::optional<std::string> loopFingerprint(const std::string& loopFolder) {
    // The folder's own time changes whenever a file comes, goes or is renamed in it, so the files
    // present are enough to look at: each under its own name, without reading the folder.
    auto fingerprint = entryFingerprint(loopFolder, "");
    if (!fingerprint || fingerprint->empty()) return std::nullopt;
    for (const std::string& name : hashedFileNames()) {
        const auto entry = entryFingerprint(loopFolder, name);
        if (!entry) return std::nullopt;
        *fingerprint += *entry;
    }
    return fingerprint;
}

std::optional<std::string> loopFingerprintOf(const FolderEntry& folder, const std::vector<FolderEntry>& entries) {
    if (folder.inode == 0 || folder.isLink) return std::nullopt;
    std::string fingerprint = part("", 0, folder.modified, folder.inode);
    for (const std::string& name : hashedFileNames()) {
        for (const FolderEntry& entry : entries) {
            if (!loop::sameNameOnCard(entry.name, name)) continue;
            // Named in another case, or a link: the fingerprint would not see it; the loop is read.
            if (entry.name != name || entry.isLink || entry.kind != FolderEntry::Kind::File) return std::nullopt;
            fingerprint += part(name, entry.size, entry.modified, entry.inode);
        }
    }
    return fingerprint;
}

bool fingerprintHolds(const std::string& loopFolder, const std::string& fingerprint) {
    // Only the entries the fingerprint names are looked at again: a stereo loop is four stat calls.
    std::string now;
    for (size_t at = 0; at < fingerprint.size();) {
        const size_t colon = fingerprint.find(':', at);
        const size_t end = fingerprint.find(';', at);
        if (colon == std::string::npos || end == std::string::npos || colon > end) return false;
        const auto entry = entryFingerprint(loopFolder, fingerprint.substr(at, colon - at));
        if (!entry || entry->empty()) return false;
        now += *entry;
        at = end + 1;
    }
    return !now.empty() && now == fingerprint;
}

}  // namespace brenvik::library
