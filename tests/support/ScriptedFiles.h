#pragma once
// The real files side with the things a test keeps in its own hands: the free space it reports
// (when set), and a user data folder (the backup store) and cache folder (converted waves) of its
// own, in a temporary folder.
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "Files.h"

namespace brenvik::test {

class ScriptedFiles : public Files {
public:
    void setFreeSpace(std::optional<int64_t> bytes) { m_freeSpace = bytes; }
    int64_t freeSpace(const std::string& path) const override {
        return m_freeSpace ? *m_freeSpace : Files::freeSpace(path);
    }
    std::string userDataFolder() const override { return m_dataFolder->path().toStdString(); }
    std::string userCacheFolder() const override { return m_dataFolder->path().toStdString() + "/cache"; }

private:
    std::optional<int64_t> m_freeSpace;
    std::shared_ptr<QTemporaryDir> m_dataFolder = std::make_shared<QTemporaryDir>();
};

}  // namespace brenvik::test
