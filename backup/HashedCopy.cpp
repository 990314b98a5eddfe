#include "HashedCopy.h"

#include <memory>
#include <span>

#include "ByteSource.h"
#include "Sha256.h"

namespace brenvik::backup {

namespace {

constexpr size_t kBlockBytes = 1 << 20;

// Feeds the file to `digest` block by block, handing each block to `sink` too when given.
std::string readThrough(const std::string& path, FileSink* sink) {
    FileSource source(path);
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

std::string digestOf(const std::string& path) { return readThrough(path, nullptr); }

std::string copyWithDigest(const std::string& from, const std::string& to) {
    FileSink sink(to);
    const std::string digest = readThrough(from, &sink);
    sink.sync();
    sink.close();
    return digest;
}

}  // namespace brenvik::backup
