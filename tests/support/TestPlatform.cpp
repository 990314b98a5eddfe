#include "TestPlatform.h"

#include <QTemporaryDir>
#include <QTest>

namespace brenvik::test {

std::vector<std::string> TestPlatform::messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : m_messages) texts.push_back(m.text);
    return texts;
}

void TestPlatform::clearRecords() {
    m_messages.clear();
    m_dialogs.clear();
    m_folderCaptions.clear();
    m_modelessChoosers = 0;
    m_manuals = 0;
    m_progress.clear();
    m_settingWrites.clear();
}

template <typename T>
T TestPlatform::take(std::deque<T>& queue, const std::string& what, T fallback) {
    if (queue.empty()) {
        QTest::qFail(("unexpected prompt: " + what).c_str(), __FILE__, __LINE__);
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

MessageAnswer TestPlatform::message(const std::string& text, MessageButtons buttons,
                                    MessageIcon icon) {
    if (windowUsable) usableAtMessage.push_back(windowUsable());
    m_messages.push_back({text, buttons, icon});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return take(m_answers, "question \"" + text + "\"", MessageAnswer::Cancel);
}

std::optional<std::string> TestPlatform::takeFile(const FileDialogRequest& request) {
    m_dialogs.push_back(request);
    return take(m_files, "file dialog", std::optional<std::string>());
}

std::optional<std::string> TestPlatform::chooseFileToOpen(const FileDialogRequest& request) {
    return takeFile(request);
}

std::optional<std::string> TestPlatform::chooseFileToSave(const FileDialogRequest& request) {
    return takeFile(request);
}

std::optional<Channel> TestPlatform::chooseChannel() {
    return take(m_channels, "channel dialog", std::optional<Channel>());
}

std::optional<std::string> TestPlatform::chooseFolder(const std::string& caption, const std::string&) {
    m_folderCaptions.push_back(caption);
    return take(m_folders, "folder chooser \"" + caption + "\"", std::optional<std::string>());
}

void TestPlatform::setBusy(bool busy) {
    if (busy && windowUsable) usableWhenBusy.push_back(windowUsable());
    m_busy = busy;
}

std::string TestPlatform::userDataFolder() {
    if (!m_dataFolder) m_dataFolder = std::make_shared<QTemporaryDir>();
    return m_dataFolder->path().toStdString();
}

int64_t TestPlatform::freeSpace(const std::string& path) {
    return m_freeSpace ? *m_freeSpace : Platform::freeSpace(path);
}

std::string TestPlatform::readSetting(const std::string& section, const std::string& key,
                                      const std::string& defaultText) {
    auto it = m_settings.find(section + "/" + key);
    return it == m_settings.end() ? defaultText : it->second;
}

void TestPlatform::writeSetting(const std::string& section, const std::string& key,
                                const std::string& text) {
    m_settings[section + "/" + key] = text;
    m_settingWrites.push_back(section + "/" + key + "=" + text);
}

}  // namespace brenvik::test
