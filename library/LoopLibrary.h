#pragma once
// The loop library: one record per loop content (its content hash), holding the loop's name,
// the source file it was written from, when, the musician's notes and the tempo found in it. It
// lives in one SQLite file, written ahead through a log so that a reader never waits for a writer.
//
// Names are a help, never a condition: a library that is damaged, locked by another program or
// cannot be written is reported once, and from then on every call does nothing and returns
// nothing, so that no loop operation fails because of it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace brenvik::library {

struct LoopRecord {
    std::string name;
    std::string sourcePath;            // the file the loop was written from
    std::string sourceHash;            // its SHA-256 when it was written
    std::optional<int64_t> writtenAt;  // seconds since 1970 (UTC); unknown for a loop named later
    std::string notes;
    std::optional<double> tempoFound;  // beats per minute found in the audio
    bool operator==(const LoopRecord&) const = default;
};

// A loop folder's content hash as last read, with what the system said of its files then.
struct CachedHash {
    std::string fingerprint;  // see loopFingerprint
    std::string hash;
    bool operator==(const CachedHash&) const = default;
};

class LoopLibrary {
public:
    static constexpr const char* kFileName = "library.sqlite";

    // Opens (or starts) the library in `folder`, creating the folder when it is missing.
    explicit LoopLibrary(const std::string& folder);
    ~LoopLibrary();
    LoopLibrary(const LoopLibrary&) = delete;
    LoopLibrary& operator=(const LoopLibrary&) = delete;

    // The user's own: $XDG_DATA_HOME/Brenvik, or `dataFolder`/Brenvik.
    static std::string defaultFolder();
    static std::string folderIn(const std::string& dataFolder);

    // Why the library cannot be used (the message for the user); nothing while it can.
    const std::optional<std::string>& unavailableReason() const { return m_unavailable; }
    // The same, handed out once only: the first call after the library failed gives it, every
    // later call nothing, so that it is shown once however many calls met it.
    std::optional<std::string> takeReport();

    // Each gives false when nothing was written (no record to change, or no library).
    bool record(const std::string& contentHash, const LoopRecord& record);
    std::optional<LoopRecord> find(const std::string& contentHash);
    // A loop without a record gets one holding just its name, or its notes.
    bool rename(const std::string& contentHash, const std::string& name);
    bool setNotes(const std::string& contentHash, const std::string& notes);
    bool clear(const std::string& contentHash);
    // For a loop written again with new content: the new content takes the old one's record.
    bool copyRecord(const std::string& fromHash, const std::string& toHash);
    // The records of many loops at once, by content hash; hashes without a record are left out.
    std::map<std::string, LoopRecord> findAll(const std::vector<std::string>& contentHashes);

    // The content hashes kept for the loop folders of one volume, by the folder's path on it.
    std::map<std::string, CachedHash> cachedHashes(const std::string& volume);
    // Keeps them, all in one write.
    bool cacheHashes(const std::string& volume, const std::map<std::string, CachedHash>& hashes);

private:
    class Statement;
    static LoopRecord recordAt(const Statement& read);
    void open();
    // Marks the library unusable with SQLite's reason; always false, for the caller to return.
    bool fail(const char* reason);
    bool fail();
    // Runs `work` inside one transaction: committed when it gives true, rolled back otherwise.
    template <typename Work>
    bool inTransaction(Work work);

    std::string m_path;
    sqlite3* m_db = nullptr;
    std::optional<std::string> m_unavailable;
    bool m_reported = false;
};

}  // namespace brenvik::library
