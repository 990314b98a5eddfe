#pragma once
// Random-access reading of a file or of bytes in memory. A read past the end returns the bytes
// that exist; the caller decides whether a short read is the end of the file or zero bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brenvik {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to dst.size() bytes at offset; returns how many were read. Throws RoutineError
    // when the medium fails (not at a clean end).
    virtual size_t readAt(int64_t offset, std::span<uint8_t> dst) = 0;

    // Reads dst.size() bytes at offset; what lies past the end reads as zero bytes.
    void readZeroFilled(int64_t offset, std::span<uint8_t> dst);
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    size_t readAt(int64_t offset, std::span<uint8_t> dst) override;

private:
    std::span<const uint8_t> m_bytes;
};

// A file opened for binary reading; closed when the object goes.
class FileSource final : public ByteSource {
public:
    // Throws RoutineError when the file cannot be opened (missing, a folder, no permission).
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    size_t readAt(int64_t offset, std::span<uint8_t> dst) override;
    int64_t size() const;

private:
    int m_fd = -1;
    std::string m_path;  // named by its failures
};

// A file opened for binary writing at offsets; writing past the end extends it. Every write is
// complete or throws RoutineError (a full disk, a file-size limit).
class FileSink final {
public:
    // Opens or creates the file without truncating it, as a binary write access does.
    explicit FileSink(const std::string& path);
    ~FileSink();
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;
    void writeAt(int64_t offset, std::span<const uint8_t> src);
    // Waits until what was written is on the device, not only in the system's cache. Throws
    // RoutineError when the device reports a failure.
    void sync();
    void close();

private:
    int m_fd = -1;
    std::string m_path;  // named by its failures
};

}  // namespace brenvik
