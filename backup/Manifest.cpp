#include "Manifest.h"

#include <algorithm>
#include <set>

namespace brenvik::backup {

namespace {

constexpr size_t kDigestDigits = 64;

bool isDigest(std::string_view text) {
    return text.size() == kDigestDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

}  // namespace

std::string formatManifest(const Manifest& manifest) {
    std::string text;
    for (const ManifestEntry& entry : manifest) text += entry.digest + "  " + entry.name + "\n";
    return text;
}

std::optional<Manifest> parseManifest(std::string_view text) {
    Manifest manifest;
    std::set<std::string, std::less<>> names;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // every line ends in a newline
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (line.size() <= kDigestDigits + 2 || line.substr(kDigestDigits, 2) != "  ") return std::nullopt;
        ManifestEntry entry{std::string(line.substr(0, kDigestDigits)), std::string(line.substr(kDigestDigits + 2))};
        if (!isDigest(entry.digest) || !names.insert(entry.name).second) return std::nullopt;
        manifest.push_back(std::move(entry));
    }
    return manifest;
}

}  // namespace brenvik::backup
