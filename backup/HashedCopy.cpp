#include "HashedCopy.h"

#include <exception>
#include <memory>
#include <span>

#include "ByteSource.h"
#include "Sha256.h"

namespace brenvik::backup {

namespace {

constexpr size_t kBlockBytes = 1 << 20;

// Feeds the file to `digest` block by block, handing each block to `sink` too when given.
std::string readThrough(FileSource& source, FileSink* sink) {
    Sha256 digest;
    const auto block = std::make_unique_for_overwrite<uint8_t[]>(kBlockBytes);
    for (int64_t at = 0;;) {
        const size_t got = source.readAt(at, std::span(block.get(), kBlockBytes));
        if (got == 0) break;
        const std::span<const uint8_t> part(block.get(), got);
        digest.update(part);
        if (sink) sink->writeAt(at, part);
        at += static_cast<int64_t>(got);
    }
    return Sha256::hex(digest.finish());
}

}  // namespace

std::string digestOf(FileSource& source) { return readThrough(source, nullptr); }

std::string digestOf(const std::string& path) {
    FileSource source(path, FileSource::Links::Refuse);
    return readThrough(source, nullptr);
}

std::string copyWithDigest(FileSource& from, const std::string& to) {
    FileSink sink(to, FileSink::Opening::CreateNew);
    const std::string digest = readThrough(from, &sink);
    sink.sync();
    sink.close();
    return digest;
}

std::optional<std::string> readSmallText(const std::string& path, size_t largest) {
    try {
        FileSource file(path, FileSource::Links::Refuse);
        if (file.size() > static_cast<int64_t>(largest)) return std::nullopt;
        std::string text(static_cast<size_t>(file.size()), '\0');
        text.resize(file.readAt(0, std::span(reinterpret_cast<uint8_t*>(text.data()), text.size())));
        return text;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace brenvik::backup
