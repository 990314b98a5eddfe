#include "LoopLibrary.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

#include "Files.h"
#include "Messages.h"

namespace brenvik::library {

namespace {

// Bumped when the table changes, so that a later program can move older libraries forward and
// this one leaves a newer library alone.
constexpr int kSchemaVersion = 1;
// How long a call waits for another program's write to end before the library counts as locked.
constexpr int kBusyMilliseconds = 2000;

constexpr const char* kCreate =
    "CREATE TABLE IF NOT EXISTS loops ("
    " content_hash TEXT PRIMARY KEY NOT NULL,"
    " name TEXT NOT NULL DEFAULT '',"
    " source_path TEXT NOT NULL DEFAULT '',"
    " source_hash TEXT NOT NULL DEFAULT '',"
    " written_at INTEGER,"
    " notes TEXT NOT NULL DEFAULT '',"
    " tempo_found REAL);"
    "CREATE TABLE IF NOT EXISTS content_cache ("
    " volume TEXT NOT NULL,"
    " folder TEXT NOT NULL,"
    " fingerprint TEXT NOT NULL,"
    " content_hash TEXT NOT NULL,"
    " PRIMARY KEY (volume, folder))";

}  // namespace

// One prepared statement, its values bound by position; finalized when it goes.
class LoopLibrary::Statement {
public:
    Statement(sqlite3* db, const char* sql) : m_db(db) {
        if (db) m_ok = sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) == SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(const std::string& text) {
        if (m_ok)
            m_ok = sqlite3_bind_text(m_statement, ++m_bound, text.data(),
                                     static_cast<int>(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
        return *this;
    }
    template <typename Number>
    Statement& bind(const std::optional<Number>& value) {
        if (!m_ok) return *this;
        ++m_bound;
        int result = SQLITE_OK;
        if (!value)
            result = sqlite3_bind_null(m_statement, m_bound);
        else if constexpr (std::is_floating_point_v<Number>)
            result = sqlite3_bind_double(m_statement, m_bound, *value);
        else
            result = sqlite3_bind_int64(m_statement, m_bound, *value);
        m_ok = result == SQLITE_OK;
        return *this;
    }

    // True while a row is there to read; false at the end or on a failure (see ok()).
    bool step() {
        if (!m_ok) return false;
        const int result = sqlite3_step(m_statement);
        m_ok = result == SQLITE_ROW || result == SQLITE_DONE;
        return result == SQLITE_ROW;
    }
    bool ok() const { return m_ok; }
    // Ready to run again with new values.
    void reset() {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        m_bound = 0;
    }
    int changes() const { return sqlite3_changes(m_db); }

    std::string text(int column) const {
        const auto* bytes = sqlite3_column_text(m_statement, column);
        return bytes ? std::string(reinterpret_cast<const char*>(bytes),
                                   static_cast<size_t>(sqlite3_column_bytes(m_statement, column)))
                     : std::string();
    }
    bool isNull(int column) const {
        return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
    }
    int64_t integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    double real(int column) const { return sqlite3_column_double(m_statement, column); }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    bool m_ok = false;
    int m_bound = 0;
};

LoopLibrary::LoopLibrary(const std::string& folder) : m_path(Files::joinPath(folder, kFileName)) {
    open();
}

LoopLibrary::~LoopLibrary() {
    sqlite3_close_v2(m_db);  // a statement still alive closes it when it is finalized
}

std::string LoopLibrary::defaultFolder() { return folderIn(Files().userDataFolder()); }

std::string LoopLibrary::folderIn(const std::string& dataFolder) {
    return Files::joinPath(dataFolder, "Brenvik");
}

void LoopLibrary::open() {
    std::error_code error;
    std::filesystem::create_directories(Files::parentOf(m_path), error);
    if (error) return void(fail(error.message().c_str()));
    if (sqlite3_open_v2(m_path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        return void(fail());
    sqlite3_busy_timeout(m_db, kBusyMilliseconds);
    // Opened read-only without a word when the file cannot be written: no name could be kept.
    if (sqlite3_db_readonly(m_db, "main") == 1) return void(fail("the file cannot be written"));

    // Each statement ends before the next: the log mode cannot change inside a read.
    const auto firstValue = [this](const char* sql) -> std::optional<std::string> {
        Statement statement(m_db, sql);
        if (statement.step()) return statement.text(0);
        return statement.ok() ? std::optional<std::string>("") : std::nullopt;
    };
    const auto check = firstValue("PRAGMA quick_check");
    if (!check) return void(fail());
    if (*check != "ok") return void(fail("the file is damaged"));
    const auto mode = firstValue("PRAGMA journal_mode=WAL");
    if (!mode) return void(fail());
    if (*mode != "wal") return void(fail("no write-ahead log can be kept"));
    // With the log, a write interrupted by a crash of the system may be lost, never the file.
    if (!firstValue("PRAGMA synchronous=NORMAL")) return void(fail());

    const auto version = firstValue("PRAGMA user_version");
    if (!version) return void(fail());
    if (std::stoi(*version) > kSchemaVersion) return void(fail("it was made by a newer Brenvik"));
    if (std::stoi(*version) == kSchemaVersion) return;
    static_assert(kSchemaVersion == 1, "the statement below marks the version it made");
    if (sqlite3_exec(m_db, kCreate, nullptr, nullptr, nullptr) != SQLITE_OK ||
        !firstValue("PRAGMA user_version = 1"))
        return void(fail());
}

bool LoopLibrary::fail(const char* reason) {
    if (!m_unavailable) m_unavailable = message::libraryUnavailable(m_path, reason);
    sqlite3_close_v2(m_db);  // a statement still alive closes it when it is finalized
    m_db = nullptr;
    return false;
}

bool LoopLibrary::fail() {
    return fail(m_db ? sqlite3_errmsg(m_db) : "out of memory");
}

std::optional<std::string> LoopLibrary::takeReport() {
    if (!m_unavailable || m_reported) return std::nullopt;
    m_reported = true;
    return m_unavailable;
}

bool LoopLibrary::record(const std::string& contentHash, const LoopRecord& record) {
    if (!m_db) return false;
    Statement write(m_db,
                    "INSERT OR REPLACE INTO loops (content_hash, name, source_path, source_hash,"
                    " written_at, notes, tempo_found) VALUES (?, ?, ?, ?, ?, ?, ?)");
    write.bind(contentHash).bind(record.name).bind(record.sourcePath).bind(record.sourceHash);
    write.bind(record.writtenAt).bind(record.notes).bind(record.tempoFound);
    write.step();
    return write.ok() || fail();
}

namespace {

constexpr const char* kFindRecord =
    "SELECT name, source_path, source_hash, written_at, notes, tempo_found"
    " FROM loops WHERE content_hash = ?";

}  // namespace

LoopRecord LoopLibrary::recordAt(const Statement& read) {
    LoopRecord found{read.text(0), read.text(1), read.text(2),
                     std::nullopt, read.text(4), std::nullopt};
    if (!read.isNull(3)) found.writtenAt = read.integer(3);
    if (!read.isNull(5)) found.tempoFound = read.real(5);
    return found;
}

std::optional<LoopRecord> LoopLibrary::find(const std::string& contentHash) {
    if (!m_db) return std::nullopt;
    Statement read(m_db, kFindRecord);
    read.bind(contentHash);
    if (read.step()) return recordAt(read);
    if (!read.ok()) fail();
    return std::nullopt;
}

bool LoopLibrary::rename(const std::string& contentHash, const std::string& name) {
    if (!m_db) return false;
    Statement write(m_db,
                    "INSERT INTO loops (content_hash, name) VALUES (?, ?)"
                    " ON CONFLICT (content_hash) DO UPDATE SET name = excluded.name");
    write.bind(contentHash).bind(name).step();
    return write.ok() || fail();
}

bool LoopLibrary::setNotes(const std::string& contentHash, const std::string& notes) {
    if (!m_db) return false;
    Statement write(m_db,
                    "INSERT INTO loops (content_hash, notes) VALUES (?, ?)"
                    " ON CONFLICT (content_hash) DO UPDATE SET notes = excluded.notes");
    write.bind(contentHash).bind(notes).step();
    return write.ok() || fail();
}

bool LoopLibrary::clear(const std::string& contentHash) {
    if (!m_db) return false;
    Statement write(m_db, "DELETE FROM loops WHERE content_hash = ?");
    write.bind(contentHash).step();
    if (!write.ok()) return fail();
    return write.changes() > 0;
}

bool LoopLibrary::copyRecord(const std::string& fromHash, const std::string& toHash) {
    if (!m_db) return false;
    Statement write(m_db,
                    "INSERT OR REPLACE INTO loops (content_hash, name, source_path, source_hash,"
                    " written_at, notes, tempo_found) SELECT ?, name, source_path, source_hash,"
                    " written_at, notes, tempo_found FROM loops WHERE content_hash = ?");
    write.bind(toHash).bind(fromHash).step();
    if (!write.ok()) return fail();
    return write.changes() > 0;
}

template <typename Work>
bool LoopLibrary::inTransaction(Work work) {
    if (!m_db) return false;
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return fail();
    const bool done = work();
    const char* end = done ? "COMMIT" : "ROLLBACK";
    if (m_db && sqlite3_exec(m_db, end, nullptr, nullptr, nullptr) != SQLITE_OK) return fail();
    return done && m_db;
}

std::map<std::string, LoopRecord> LoopLibrary::findAll(const std::vector<std::string>& hashes) {
    std::map<std::string, LoopRecord> found;
    if (!m_db) return found;
    // One read with one statement for all of them: a card of 999 loops is one look at the file.
    sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
    {
        Statement read(m_db, kFindRecord);
        for (const auto& hash : hashes) {
            read.reset();
            read.bind(hash);
            if (read.step()) found.emplace(hash, recordAt(read));
            if (!read.ok()) break;
        }
        if (!read.ok()) fail();
    }
    if (m_db) sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    return found;
}

std::map<std::string, CachedHash> LoopLibrary::cachedHashes(const std::string& volume) {
    std::map<std::string, CachedHash> cached;
    if (!m_db) return cached;
    Statement read(m_db,
                   "SELECT folder, fingerprint, content_hash FROM content_cache WHERE volume = ?");
    read.bind(volume);
    while (read.step()) cached[read.text(0)] = {read.text(1), read.text(2)};
    if (!read.ok()) fail();
    return cached;
}

bool LoopLibrary::cacheHashes(const std::string& volume,
                              const std::map<std::string, CachedHash>& hashes) {
    if (hashes.empty()) return m_db != nullptr;
    return inTransaction([&] {
        for (const auto& [folder, cached] : hashes) {
            Statement write(m_db,
                            "INSERT OR REPLACE INTO content_cache (volume, folder, fingerprint,"
                            " content_hash) VALUES (?, ?, ?, ?)");
            write.bind(volume).bind(folder).bind(cached.fingerprint).bind(cached.hash).step();
            if (!write.ok()) return fail();
        }
        return true;
    });
}

}  // namespace brenvik::library
