#include "VolumeIdentity.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace brenvik {

namespace {

// The mount table writes a space, a tab, a newline and a backslash in octal ("\040").
std::string unescapeOctal(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() &&
            std::isdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isdigit(static_cast<unsigned char>(text[i + 2])) &&
            std::isdigit(static_cast<unsigned char>(text[i + 3]))) {
            plain += static_cast<char>(std::stoi(text.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

// udev writes a space and other unsafe bytes of a label in hexadecimal ("\x20").
std::string unescapeHex(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\x") == 0 && i + 3 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
            plain += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
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
        if (fs::equivalent(it->path(), device, linkError)) return unescapeHex(it->path().filename().string());
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
        mountPoint = unescapeOctal(mountPoint);
        const std::string relative = where.lexically_relative(mountPoint).string();
        if (relative.empty() || relative.starts_with("..")) continue;
        if (mountPoint.size() < volume.mountPoint.size()) continue;
        std::string field;
        while (fields >> field && field != "-") {
        }
        std::string type;
        fields >> type >> source;
        volume.mountPoint = mountPoint;
        source = unescapeOctal(source);
    }
    if (source.empty() || source.front() != '/') return volume;
    volume.label = linkedName(fs::path(diskLinks) / "by-label", source);
    volume.uuid = linkedName(fs::path(diskLinks) / "by-uuid", source);
    return volume;
}

}  // namespace brenvik
