#pragma once
// The manifest of a backup: one line per file, its SHA-256 in hexadecimal, two spaces and its path
// inside the backup ("LOOP7/track1.wav"), the form `sha256sum -c` checks.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brenvik::backup {

inline constexpr const char* kManifestName = "MANIFEST.sha256";
// A manifest of a full card is a few thousand lines; anything larger is not one.
inline constexpr size_t kLargestManifest = 1 << 20;

struct ManifestEntry {
    std::string digest;  // 64 lower-case hexadecimal digits
    std::string name;
    bool operator==(const ManifestEntry&) const = default;
};
using Manifest = std::vector<ManifestEntry>;

std::string formatManifest(const Manifest& manifest);

// Nothing when a line is not in the form above, or a name appears twice.
std::optional<Manifest> parseManifest(std::string_view text);

}  // namespace brenvik::backup
