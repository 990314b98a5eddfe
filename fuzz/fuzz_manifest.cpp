// The backup check over any manifest: the input is MANIFEST.sha256 of a backup folder holding a
// few files, each containing its own path (so a seed names them with their right hashes), some
// where a loop file belongs and some where none may come from. A backup is accepted whole or
// refused with a message. Every accepted entry is a loop folder LOOPn (1 to 999, plain decimal),
// "/" and one plain file name (not empty, no separator, not "." or "..", no control character),
// naming a regular file of the backup, with a hash of 64 lower-case hexadecimal digits; and an
// accepted manifest's text is exactly its entries written out again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "BackupCheck.h"
#include "Files.h"
#include "Manifest.h"
#include "ScratchFolder.h"

namespace {

namespace fs = std::filesystem;
using namespace brenvik::backup;

constexpr std::string_view kFiles[] = {
    "LOOP1/loopinfo.ldf", "LOOP1/track1.wav", "LOOP12/track4.wav", "LOOP999/track2.wav",
    "LOOP1/notes.txt",    "outside.txt",      "LOOP01/track1.wav", "LOOP1/sub/track2.wav"};

const fs::path& backupFolder() {
    static const brenvik::fuzz::ScratchFolder scratch;
    static const bool filled = [] {
        for (const std::string_view name : kFiles) {
            const fs::path file = scratch.path() / name;
            fs::create_directories(file.parent_path());
            brenvik::fuzz::ScratchFolder::write(
                file, {reinterpret_cast<const uint8_t*>(name.data()), name.size()});
        }
        return true;
    }();
    (void)filled;
    return scratch.path();
}

bool isPlainLoopEntry(std::string_view name) {
    const size_t slash = name.find('/');
    if (slash == std::string_view::npos) return false;
    const std::string_view folder = name.substr(0, slash), file = name.substr(slash + 1);
    const std::string_view digits = folder.substr(std::min<size_t>(4, folder.size()));
    if (!folder.starts_with("LOOP") || digits.empty() || digits.size() > 3 || digits[0] == '0') return false;
    for (const char c : digits)
        if (c < '0' || c > '9') return false;
    if (file.empty() || file == "." || file == "..") return false;
    for (const char c : file)
        if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

bool isDigest(std::string_view digest) {
    if (digest.size() != 64) return false;
    for (const char c : digest)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<Manifest> parsed = parseManifest(text);
    if (parsed && formatManifest(*parsed) != text) std::abort();

    const fs::path& folder = backupFolder();
    brenvik::fuzz::ScratchFolder::write(folder / kManifestName, {data, size});
    const BackupCheck check = checkBackup(brenvik::Files(), folder.string());
    if (check.manifest.has_value() == !check.refusal.empty()) std::abort();
    if (!check.manifest) return 0;
    if (size <= kLargestManifest && check.manifest != parsed) std::abort();
    for (const ManifestEntry& entry : *check.manifest) {
        std::error_code ec;
        if (!isPlainLoopEntry(entry.name) || !isDigest(entry.digest) ||
            !fs::is_regular_file(fs::symlink_status(folder / entry.name, ec)))
            std::abort();
    }
    return 0;
}
