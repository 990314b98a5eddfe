#pragma once
// The folder where converted waves wait for the loop writer: Brenvik/converted in the user's cache
// folder. The window opens a converted wave from here, and its Save reads it again, so a wave stays
// while a loop may still be written from it; what was last written a week ago or earlier is taken
// away before the next conversion.
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
    // `keep` (the wave the window has open). What cannot be deleted stays; nothing is reported.
    void removeOld(const std::string& keep,
                   std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now()) const;

private:
    std::string m_folder;
};

}  // namespace brenvik
