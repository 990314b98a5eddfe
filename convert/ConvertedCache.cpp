#include "ConvertedCache.h"

#include <cstdint>
#include <cstdio>
#include <system_error>

#include "Files.h"

namespace fs = std::filesystem;

namespace brenvik {

namespace {

// FNV-1a: a short mark that is the same for the same path on every run and every machine.
uint32_t pathMark(const std::string& path) {
    uint32_t hash = 2166136261u;
    for (const char c : path) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace

ConvertedCache::ConvertedCache(const Files& files)
    : m_folder(files.userCacheFolder() + "/Brenvik/converted") {}

std::string ConvertedCache::targetFor(const std::string& source) const {
    char mark[9];
    std::snprintf(mark, sizeof mark, "%08x", static_cast<unsigned>(pathMark(source)));
    return Files::joinPath(m_folder, fs::path(source).stem().string() + "-" + mark + ".wav");
}

void ConvertedCache::removeOld(const std::string& keep, fs::file_time_type now) const {
    std::error_code ec;
    fs::directory_iterator entry(m_folder, ec);
    for (; !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
        std::error_code ignored;
        if (!entry->is_regular_file(ignored)) continue;
        if (!keep.empty() && fs::equivalent(entry->path(), keep, ignored)) continue;
        const fs::file_time_type written = entry->last_write_time(ignored);
        if (!ignored && written < now - kKeptFor) fs::remove(entry->path(), ignored);
    }
}

}  // namespace brenvik
