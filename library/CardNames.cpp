#include "CardNames.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "LoopFolderName.h"
#include "LoopNames.h"
#include "VolumeIdentity.h"

namespace brenvik::library {

namespace {

std::string absolute(const std::string& path) {
    std::error_code error;
    const auto made = std::filesystem::absolute(path, error);
    return (error ? std::filesystem::path(path) : made).lexically_normal().string();
}

// Hashes the folders on as many threads as the machine has cores (up to four): reading from a
// card or the file cache outruns one core's hashing. `progress` is told on the calling thread.
std::vector<HashedFolder> hashAll(const std::vector<SeenFolder>& folders,
                                  const std::function<void(int, int)>& progress) {
    std::vector<HashedFolder> hashed(folders.size());
    const int total = static_cast<int>(folders.size());
    std::atomic<size_t> next = 0;
    std::atomic<int> done = 0;
    int told = 0;
    const auto work = [&](bool reporting) {
        for (size_t i; (i = next++) < folders.size();) {
            hashed[i] = hashLoopFolder(folders[i].folder, folders[i].fingerprint);
            const int count = ++done;
            if (reporting && progress) progress(told = count, total);
        }
    };
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    {
        std::vector<std::jthread> helpers;
        for (unsigned i = 1; i < cores && i < folders.size(); ++i) helpers.emplace_back(work, false);
        work(true);
    }
    if (progress && told < total) progress(total, total);
    return hashed;
}

std::vector<SeenFolder> seen(const std::vector<std::string>& folders) {
    std::vector<SeenFolder> seen;
    for (const auto& folder : folders) seen.push_back({folder, std::nullopt});
    return seen;
}

}  // namespace

HashedFolder hashLoopFolder(const std::string& folder, std::optional<std::string> before) {
    if (!before) before = loopFingerprint(folder);
    HashedFolder hashed{folder, std::move(before), loopContentHash(folder)};
    // A folder that changed while it was read keeps its hash out of the cache, and so does one
    // whose files the fingerprint would not see.
    if (hashed.fingerprint != loopFingerprint(folder) || !hashed.hash.ownNames)
        hashed.fingerprint.reset();
    return hashed;
}

CardNames::CardNames(LoopLibrary& library, const std::string& card) : m_library(library) {
    const VolumeIdentity identity = volumeIdentity(absolute(card));
    m_mountPoint = identity.mountPoint;
    // A card is known by its file system's UUID wherever it is mounted; a folder on a volume
    // without one by its mount point.
    m_volume = !identity.uuid.empty() ? "uuid:" + identity.uuid : "mount:" + identity.mountPoint;
    m_card = card;
    m_cardKey = keyOfPath(card);
}

std::string CardNames::keyOf(const std::string& folder) const {
    // A loop folder of the card, named as the card is, takes the card's key and its own name:
    // no path is worked out again for each of a thousand loops.
    if (folder.size() > m_card.size() + 1 && folder.starts_with(m_card) && folder[m_card.size()] == '/') {
        const std::string_view name = std::string_view(folder).substr(m_card.size() + 1);
        if (name.find('/') == std::string_view::npos && name != "." && name != "..")
            return m_cardKey + '/' + std::string(name);
    }
    return keyOfPath(folder);
}

std::string CardNames::keyOfPath(const std::string& folder) const {
    const std::string path = absolute(folder);
    if (m_mountPoint.empty() || m_mountPoint == "/") return path;
    const std::string relative =
        std::filesystem::path(path).lexically_relative(m_mountPoint).generic_string();
    return relative.empty() || relative.starts_with("..") ? path : relative;
}

std::map<std::string, NamedLoop> CardNames::known(const std::vector<std::string>& folders) {
    return known(seen(folders));
}

std::map<std::string, NamedLoop> CardNames::known(const std::vector<SeenFolder>& folders) {
    std::map<std::string, NamedLoop> named;
    const auto cache = m_library.cachedHashes(m_volume);
    for (const auto& [folder, fingerprint] : folders) {
        NamedLoop& loop = named[folder];
        const auto cached = cache.find(keyOf(folder));
        if (cached == cache.end()) continue;
        if (fingerprint ? *fingerprint != cached->second.fingerprint
                        : !fingerprintHolds(folder, cached->second.fingerprint))
            continue;
        loop.hash = cached->second.hash;
    }
    return withRecords(std::move(named));
}

std::map<std::string, NamedLoop> CardNames::withRecords(std::map<std::string, NamedLoop> named) {
    std::vector<std::string> hashes;
    for (const auto& [folder, loop] : named)
        if (loop.hash) hashes.push_back(*loop.hash);
    const auto records = m_library.findAll(hashes);
    for (auto& [folder, loop] : named)
        if (loop.hash)
            if (const auto record = records.find(*loop.hash); record != records.end())
                loop.record = record->second;
    return named;
}

std::map<std::string, NamedLoop> CardNames::remember(const std::vector<HashedFolder>& hashed) {
    std::map<std::string, CachedHash> toCache;
    std::map<std::string, NamedLoop> named;
    for (const auto& folder : hashed) {
        NamedLoop& loop = named[folder.folder];
        loop.hash = folder.hash.hex;
        loop.failure = folder.hash.failure;
        if (!loop.hash) continue;
        if (folder.fingerprint) toCache[keyOf(folder.folder)] = {*folder.fingerprint, *loop.hash};
    }
    m_library.cacheHashes(m_volume, toCache);
    return withRecords(std::move(named));
}

std::map<std::string, NamedLoop> CardNames::all(const std::vector<std::string>& folders,
                                                const std::function<void(int, int)>& progress) {
    return all(seen(folders), progress);
}

std::map<std::string, NamedLoop> CardNames::all(const std::vector<SeenFolder>& folders,
                                                const std::function<void(int, int)>& progress) {
    auto named = known(folders);
    // Without a library no name could be found: the audio is not read for nothing.
    if (m_library.unavailableReason()) return named;
    std::vector<SeenFolder> unread;
    for (const SeenFolder& seen : folders)
        if (!named[seen.folder].hash) unread.push_back(seen);
    for (auto& [folder, loop] : remember(hashAll(unread, progress))) named[folder] = std::move(loop);
    return named;
}

NamedLoop CardNames::of(const std::string& folder) { return all({folder})[folder]; }

std::optional<std::string> CardNames::nameWritten(const std::string& loopFolder,
                                                  const std::string& sourcePath,
                                                  std::optional<double> tempoFound) {
    const auto hash = remember({hashLoopFolder(loopFolder)})[loopFolder].hash;
    if (!hash) return std::nullopt;
    const auto earlier = m_library.find(*hash);
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch());
    LoopRecord record{nameFromSource(sourcePath), absolute(sourcePath),
                      fileContentHash(sourcePath).hex.value_or(""), now.count(),
                      earlier ? earlier->notes : std::string(), tempoFound};
    m_library.record(*hash, record);
    return hash;
}

std::function<std::string(int)> loopNamer(LoopLibrary& library, const std::string& card) {
    auto names = std::make_shared<CardNames>(library, card);
    auto known = std::make_shared<std::map<int, std::string>>();
    return [names, known, card](int number) {
        const auto found = known->find(number);
        if (found != known->end()) return found->second;
        const std::string folder = loop::pathOnCard(card, loop::loopFolderName(number));
        return (*known)[number] = names->of(folder).name();
    };
}

}  // namespace brenvik::library
