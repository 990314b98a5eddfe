#include "BackupOrigin.h"

#include <filesystem>

#include "HashedCopy.h"
#include "LoopFolderName.h"
#include "VolumeIdentity.h"

namespace brenvik::backup {

namespace {

// An origin file is a few lines; anything longer is not one.
constexpr size_t kLargestOrigin = 16384;

// A value holds no line break, whatever a folder's name holds.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = '?';
    return text;
}

}  // namespace

bool BackupOrigin::sameCard(const BackupOrigin& other) const {
    if (!uuid.empty() && !other.uuid.empty()) return uuid == other.uuid;
    return card == other.card;
}

BackupOrigin originOf(const std::string& card, std::optional<int> loopNumber, const std::string& made) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(card, ec);
    BackupOrigin origin;
    origin.card = (ec ? std::filesystem::path(card) : absolute).lexically_normal().string();
    if (origin.card.size() > 1 && origin.card.back() == '/') origin.card.pop_back();
    const VolumeIdentity volume = volumeIdentity(card);
    origin.label = volume.label;
    origin.uuid = volume.uuid;
    origin.loopNumber = loopNumber;
    origin.made = made;
    return origin;
}

std::string formatOrigin(const BackupOrigin& origin) {
    std::string text = "card=" + oneLine(origin.card) + "\n";
    if (!origin.label.empty()) text += "label=" + oneLine(origin.label) + "\n";
    if (!origin.uuid.empty()) text += "uuid=" + oneLine(origin.uuid) + "\n";
    if (origin.loopNumber) text += "loop=" + std::to_string(*origin.loopNumber) + "\n";
    return text + "made=" + origin.made + "\n";
}

BackupOrigin parseOrigin(std::string_view text) {
    BackupOrigin origin;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, equals);
        const std::string value(line.substr(equals + 1));
        if (key == "card") origin.card = value;
        else if (key == "label") origin.label = value;
        else if (key == "uuid") origin.uuid = value;
        else if (key == "made") origin.made = value;
        else if (key == "loop") origin.loopNumber = loop::loopNumberOf("LOOP" + value);
    }
    return origin;
}

std::optional<BackupOrigin> readOrigin(const std::string& backupFolder) {
    const std::optional<std::string> text =
        readSmallText((std::filesystem::path(backupFolder) / kOriginName).string(), kLargestOrigin);
    if (!text) return std::nullopt;
    return parseOrigin(*text);
}

}  // namespace brenvik::backup
