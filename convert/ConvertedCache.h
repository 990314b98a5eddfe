#pragma once
// The folder where converted waves wait for the loop writer: Brenvik/converted in the user's cache
// folder. A loop may still be written from a converted wave after the conversion (a window keeps
// one open until its Save), so a wave stays for a while; what was last written a week ago or
// earlier is taken away before the next conversion.
#include <chrono>
#include <filesystem>
#include <string>

namespace brenvik {

class Files;

class ConvertedCache {
public:
    // How long a converted wave is kept after it was last written.
    static constexpr std::chrono::hours kKeptFor{24 * 7};

    explicit ConvertedCache(const Files& files);

    const std::string& folder() const { return m_folder; }
    // Where the converted copy of `source` goes: its name with ".wav", behind a mark made of its
    // full path, so that files of one name from different folders do not replace each other,
    // while converting the same file again replaces its copy.
    std::string targetFor(const std::string& source) const;
    // Deletes every file in the folder last written more than kKeptFor before `now`, except
    // `keep` (a wave still in use). What cannot be deleted stays; nothing is reported.
    void removeOld(const std::string& keep,
                   std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now()) const;

private:
    std::string m_folder;
};

}  // namespace brenvik
