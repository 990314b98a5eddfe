#include "VolumeIdentity.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cctype>
#include <string_view>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace brenvik {

namespace {

// Undoes escapes of unsafe bytes: `prefix` and `digits` digits in `base`. The mount table writes
// a space, a tab, a newline and a backslash in octal ("\040"), udev the unsafe bytes of a label in
// hexadecimal ("\x20").
std::string unescaped(const std::string& text, std::string_view prefix, size_t digits, int base) {
    const auto isDigit = [base](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return base == 16 ? std::isxdigit(byte) != 0 : c >= '0' && c < '0' + base;
    };
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t end = i + prefix.size() + digits;
        if (text.compare(i, prefix.size(), prefix) == 0 && end <= text.size() &&
            std::all_of(text.begin() + long(i + prefix.size()), text.begin() + long(end), isDigit)) {
            plain += static_cast<char>(std::stoi(text.substr(i + prefix.size(), digits), nullptr, base));
            i = end - 1;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

// The name under /dev/disk/<kind> that leads to the device; empty when none does.
std::string linkedName(const fs::path& folder, const fs::path& device) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkError;
        if (fs::equivalent(it->path(), device, linkError)) return unescaped(it->path().filename().string(), "\\x", 2, 16);
    }
    return {};
}

}  // namespace

VolumeIdentity volumeIdentity(const std::string& path, const std::string& mountTable,
                              const std::string& diskLinks) {
    VolumeIdentity volume;
    struct stat st {};
    std::error_code ec;
    const fs::path where = fs::canonical(path, ec);
    if (ec || ::stat(where.c_str(), &st) != 0) return volume;
    const std::string device = std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));

    // Of the mounts of that device (a bind mount repeats one), the one nearest the folder.
    std::ifstream table(mountTable);
    std::string source;
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string id, parent, numbers, root, mountPoint;
        fields >> id >> parent >> numbers >> root >> mountPoint;
        if (numbers != device) continue;
        mountPoint = unescaped(mountPoint, "\\", 3, 8);
        const std::string relative = where.lexically_relative(mountPoint).string();
        if (relative.empty() || relative.starts_with("..")) continue;
        if (mountPoint.size() < volume.mountPoint.size()) continue;
        std::string field;
        while (fields >> field && field != "-") {
        }
        std::string type;
        fields >> type >> source;
        volume.mountPoint = mountPoint;
        source = unescaped(source, "\\", 3, 8);
    }
    if (source.empty() || source.front() != '/') return volume;
    volume.label = linkedName(fs::path(diskLinks) / "by-label", source);
    volume.uuid = linkedName(fs::path(diskLinks) / "by-uuid", source);
    return volume;
}

}  // namespace brenvik
