#include "StagedFile.h"

#include <filesystem>
#include <system_error>

#include "ConvertError.h"
#include "Files.h"
#include "Messages.h"
#include "RoutineError.h"

namespace fs = std::filesystem;

namespace brenvik {

template <typename Step>
void StagedFile::guarded(Step step) {
    try {
        step();
    } catch (const RoutineError& e) {
        throw ConvertError(message::convertedUnwritable(m_target, e.what()));
    } catch (const fs::filesystem_error& e) {
        throw ConvertError(message::convertedUnwritable(m_target, e.code().message()));
    }
}

StagedFile::StagedFile(std::string target)
    : m_target(std::move(target)), m_staging(m_target + ".partial") {
    guarded([&] {
        fs::remove(m_staging);
        m_sink.emplace(m_staging);
    });
}

StagedFile::~StagedFile() {
    if (m_staging.empty()) return;
    m_sink.reset();
    std::error_code ignored;
    fs::remove(m_staging, ignored);
}

void StagedFile::writeAt(int64_t offset, std::span<const uint8_t> bytes) {
    guarded([&] { m_sink->writeAt(offset, bytes); });
}

void StagedFile::commit(Files& files) {
    guarded([&] {
        m_sink->sync();
        m_sink->close();
        fs::rename(m_staging, m_target);
        m_staging.clear();
        files.syncFolder(Files::parentOf(files.absolutePath(m_target)));
    });
}

}  // namespace brenvik
