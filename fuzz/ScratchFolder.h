#pragma once
// A fuzz target's own folder below the system's temporary folder ($TMPDIR, else /tmp), made once
// per process and removed with all it holds when the process ends. Targets that read files
// rewrite them here for every input and touch nothing else.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <system_error>

namespace brenvik::fuzz {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "brenvik-fuzz-XXXXXX").string();
        if (!mkdtemp(name.data())) std::abort();
        m_path = name;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Replaces the file with these bytes followed by `sparse` zero bytes the file system does not
    // store, so a file can be as long as a size field claims at no cost.
    static void write(const std::filesystem::path& file, std::span<const uint8_t> bytes,
                      uint64_t sparse = 0) {
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!out) std::abort();
        }
        if (sparse != 0) std::filesystem::resize_file(file, bytes.size() + sparse);
    }

private:
    std::filesystem::path m_path;
};

}  // namespace brenvik::fuzz
