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

// A file opened for binary reading; closed when the object goes. Only a regular file opens: a
// named pipe or a device where a file should be is refused at once, never waited on.
class FileSource final : public ByteSource {
public:
    enum class Links { Follow, Refuse };
    // Throws RoutineError when the file cannot be opened (missing, a folder, a pipe, no
    // permission, or a symbolic link when links are refused).
    explicit FileSource(const std::string& path, Links links = Links::Follow);
    // The file `name` inside the folder open as `folderFd`, a link refused.
    FileSource(int folderFd, const std::string& name, const std::string& shownPath);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    size_t readAt(int64_t offset, std::span<uint8_t> dst) override;
    int64_t size() const;

private:
    void open(int folderFd, const std::string& name, int linkFlag);

    int m_fd = -1;
    std::string m_path;  // named by its failures
};

// A file opened for binary writing at offsets; writing past the end extends it. Every write is
// complete or throws RoutineError (a full disk, a file-size limit).
class FileSink final {
public:
    enum class Opening { KeepOrCreate, CreateNew };
    // Opens or creates the file without truncating it, as a binary write access does (or only
    // creates it, failing when something is there). Throws RoutineError when it cannot, or when
    // what lies there is a pipe or a device, not a file.
    explicit FileSink(const std::string& path, Opening opening = Opening::KeepOrCreate);
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
