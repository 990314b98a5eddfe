#include "TestInteraction.h"

#include <QTest>

namespace brenvik::test {

std::vector<std::string> TestInteraction::messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : m_messages) texts.push_back(m.text);
    return texts;
}

void TestInteraction::clearRecords() {
    m_messages.clear();
    m_dialogs.clear();
    m_folderCaptions.clear();
    m_modelessChoosers = 0;
    m_manuals = 0;
    m_progress.clear();
    m_failures.clear();
    m_settingWrites.clear();
}

template <typename T>
T TestInteraction::take(std::deque<T>& queue, const std::string& what, T fallback) {
    if (queue.empty()) {
        QTest::qFail(("unexpected prompt: " + what).c_str(), __FILE__, __LINE__);
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

MessageAnswer TestInteraction::message(const std::string& text, MessageButtons buttons,
                                       MessageIcon icon, const std::string& detail) {
    if (windowUsable) usableAtMessage.push_back(windowUsable());
    m_messages.push_back({text, buttons, icon, detail, {}, {}});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return take(m_answers, "question \"" + text + "\"", MessageAnswer::Cancel);
}

MessageAnswer TestInteraction::ask(const std::string& text, const std::string& yes, const std::string& no) {
    if (windowUsable) usableAtMessage.push_back(windowUsable());
    m_messages.push_back({text, MessageButtons::YesNoCancel, MessageIcon::None, {}, yes, no});
    return take(m_answers, "question \"" + text + "\"", MessageAnswer::Cancel);
}

std::optional<std::string> TestInteraction::takeFile(const FileDialogRequest& request) {
    m_dialogs.push_back(request);
    return take(m_files, "file dialog", std::optional<std::string>());
}

std::optional<std::string> TestInteraction::chooseFileToOpen(const FileDialogRequest& request) {
    return takeFile(request);
}

std::optional<std::string> TestInteraction::chooseFileToSave(const FileDialogRequest& request) {
    std::optional<std::string> chosen = takeFile(request);
    if (fileDialogClosing) fileDialogClosing();
    return chosen;
}

std::optional<int> TestInteraction::askNumber(const std::string& text, int, int, int) {
    m_messages.push_back({text, MessageButtons::Ok, MessageIcon::None, {}, {}, {}});
    return take(m_numbers, "number dialog \"" + text + "\"", std::optional<int>());
}

std::optional<Channel> TestInteraction::chooseChannel() {
    return take(m_channels, "channel dialog", std::optional<Channel>());
}

std::optional<std::string> TestInteraction::chooseFolder(const std::string& caption,
                                                         const std::string&) {
    m_folderCaptions.push_back(caption);
    return take(m_folders, "folder chooser \"" + caption + "\"", std::optional<std::string>());
}

void TestInteraction::setBusy(bool busy) {
    if (busy && windowUsable) usableWhenBusy.push_back(windowUsable());
    m_busy = busy;
}

std::string TestInteraction::readSetting(const std::string& section, const std::string& key,
                                         const std::string& defaultText) {
    auto it = m_settings.find(section + "/" + key);
    return it == m_settings.end() ? defaultText : it->second;
}

void TestInteraction::writeSetting(const std::string& section, const std::string& key,
                                   const std::string& text) {
    m_settings[section + "/" + key] = text;
    m_settingWrites.push_back(section + "/" + key + "=" + text);
}

}  // namespace brenvik::test
