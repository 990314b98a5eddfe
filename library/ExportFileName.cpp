#include "ExportFileName.h"

namespace brenvik::library {

namespace {

bool unsafeOnCard(unsigned char c) {
    return c < 0x20 || c == 0x7F ||
           std::string_view(R"(/\:*?"<>|)").find(static_cast<char>(c)) != std::string_view::npos;
}

bool continuesCharacter(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

std::string exportFileName(std::string_view numbered, std::string_view loopName,
                           std::string_view extension) {
    if (loopName.empty()) return std::string(numbered) + std::string(extension);
    std::string safe;
    for (size_t i = 0; i < loopName.size(); ++i) {
        const auto c = static_cast<unsigned char>(loopName[i]);
        // U+0080 to U+009F, the second set of control characters, in their two UTF-8 bytes.
        if (c == 0xC2 && i + 1 < loopName.size() &&
            static_cast<unsigned char>(loopName[i + 1]) <= 0x9F &&
            continuesCharacter(static_cast<unsigned char>(loopName[i + 1]))) {
            safe += '_';
            ++i;
        } else {
            safe += unsafeOnCard(c) ? '_' : static_cast<char>(c);
        }
    }
    const size_t fixed = numbered.size() + 1 + extension.size();
    const size_t room = fixed < kLongestFileName ? kLongestFileName - fixed : 0;
    if (safe.size() > room) {
        size_t cut = room;
        while (cut > 0 && continuesCharacter(static_cast<unsigned char>(safe[cut]))) --cut;
        safe.resize(cut);
    }
    if (safe.empty()) return std::string(numbered) + std::string(extension);
    // Windows and FAT drop a name's trailing dots and spaces; kept as "_", the name stays whole.
    for (size_t end = safe.size(); end > 0 && (safe[end - 1] == '.' || safe[end - 1] == ' '); --end)
        safe[end - 1] = '_';
    return std::string(numbered) + " " + safe + std::string(extension);
}

}  // namespace brenvik::library
