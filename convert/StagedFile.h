#pragma once
// A file written under a temporary name beside its target and put in its place only when it is
// complete and on the device: a failure leaves neither a half file under the target's name nor
// the temporary one.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "ByteSource.h"

namespace brenvik {

class Files;

class StagedFile {
public:
    // Each method throws ConvertError naming the target and the system's reason.
    explicit StagedFile(std::string target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    void writeAt(int64_t offset, std::span<const uint8_t> bytes);
    // Syncs the file, renames it to the target (replacing what was there) and syncs the folder.
    void commit(Files& files);

private:
    template <typename Step>
    void guarded(Step step);

    std::string m_target;
    std::string m_staging;
    std::optional<FileSink> m_sink;
};

}  // namespace brenvik
