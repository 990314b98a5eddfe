#include "TestPlatform.h"

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
    m_help.clear();
    m_progress.clear();
    m_settingWrites.clear();
    m_busyChanges = 0;
}

void TestPlatform::unexpected(const std::string& what) {
    QTest::qFail(("unexpected prompt: " + what).c_str(), __FILE__, __LINE__);
}

MessageAnswer TestPlatform::message(const std::string& text, MessageButtons buttons,
                                    MessageIcon icon) {
    if (windowUsable) usableAtMessage.push_back(windowUsable());
    m_messages.push_back({text, buttons, icon, kAppTitle});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (m_answers.empty()) {
        unexpected("question \"" + text + "\"");
        return MessageAnswer::Cancel;
    }
    MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void TestPlatform::showDialog(FileDialog& dialog) {
    m_dialogs.push_back(dialog);
    if (m_files.empty()) {
        unexpected("file dialog");
        return;
    }
    auto choice = m_files.front();
    m_files.pop_front();
    if (choice) dialog.fileName = *choice;
}

std::optional<Channel> TestPlatform::chooseChannel() {
    if (m_channels.empty()) {
        unexpected("channel dialog");
        return std::nullopt;
    }
    auto choice = m_channels.front();
    m_channels.pop_front();
    return choice;
}

void TestPlatform::chooseFolder(const std::string& caption, std::string& chosenFolder) {
    m_folderCaptions.push_back(caption);
    if (m_folders.empty()) {
        unexpected("folder chooser \"" + caption + "\"");
        return;
    }
    auto choice = m_folders.front();
    m_folders.pop_front();
    if (choice) chosenFolder = *choice;
}

void TestPlatform::setBusy(bool busy) {
    if (busy && windowUsable) usableWhenBusy.push_back(windowUsable());
    if (busy != m_busy) ++m_busyChanges;
    m_busy = busy;
}

void TestPlatform::setProgressMin(float value) { m_progress.push_back({ProgressEvent::Min, value}); }

void TestPlatform::setProgressMax(float value) {
    m_progressMax = value;
    m_progress.push_back({ProgressEvent::Max, value});
}

void TestPlatform::setProgressValue(float value) {
    if (value > 0 && windowUsable) usableAtProgress.push_back(windowUsable());
    m_progressValue = value;
    m_progress.push_back({ProgressEvent::Value, value});
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
