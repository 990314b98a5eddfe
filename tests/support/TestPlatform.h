#pragma once
// The platform for tests: files and folders are real; the user's side is scripted. Every
// message is recorded (text, buttons, icon, title) and every question is answered from a queue;
// a prompt that the test did not script fails the running test.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Platform.h"

namespace brenvik::test {

struct RecordedMessage {
    std::string text;
    MessageButtons buttons;
    MessageIcon icon;
    std::string title;
};

struct ProgressEvent {
    enum Kind { Min, Max, Value } kind;
    float value;
    bool operator==(const ProgressEvent&) const = default;
};

class TestPlatform : public Platform {
public:
    // --- scripting the user's side ---
    void answerNextQuestion(MessageAnswer answer) { m_answers.push_back(answer); }
    void chooseNextFile(std::optional<std::string> path) { m_files.push_back(std::move(path)); }
    void chooseNextChannel(std::optional<Channel> channel) { m_channels.push_back(channel); }
    void chooseNextFolder(std::optional<std::string> folder) { m_folders.push_back(std::move(folder)); }
    void setFreeSpace(std::optional<int64_t> bytes) { m_freeSpace = bytes; }

    // Whether the window under test takes input. When set, it is asked at every message, every
    // switch to the busy pointer and every progress step above 0, and the answers are kept.
    std::function<bool()> windowUsable;
    std::vector<bool> usableAtMessage, usableWhenBusy, usableAtProgress;

    // --- what was shown ---
    const std::vector<RecordedMessage>& messages() const { return m_messages; }
    std::vector<std::string> messageTexts() const;
    const std::vector<FileDialog>& dialogsShown() const { return m_dialogs; }
    const std::vector<std::string>& folderCaptions() const { return m_folderCaptions; }
    int modelessChoosersShown() const { return m_modelessChoosers; }
    const std::vector<std::pair<std::string, int>>& helpShown() const { return m_help; }
    const std::vector<ProgressEvent>& progress() const { return m_progress; }
    float progressMax() const { return m_progressMax; }
    bool busy() const { return m_busy; }
    int busyChanges() const { return m_busyChanges; }
    std::map<std::string, std::string>& settings() { return m_settings; }
    const std::vector<std::string>& settingWrites() const { return m_settingWrites; }
    void clearRecords();

    // --- Platform ---
    MessageAnswer message(const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override;
    void showOpenDialog(FileDialog& dialog) override { showDialog(dialog); }
    void showSaveDialog(FileDialog& dialog) override { showDialog(dialog); }
    std::optional<Channel> chooseChannel() override;
    void chooseFolder(const std::string& caption, std::string& chosenFolder) override;
    void showFolderChooser() override { ++m_modelessChoosers; }
    void showHelp(const std::string& helpFile, int command) override { m_help.emplace_back(helpFile, command); }
    void setBusy(bool busy) override;
    void setProgressMin(float value) override;
    void setProgressMax(float value) override;
    void setProgressValue(float value) override;
    float progressValue() const override { return m_progressValue; }
    int64_t freeSpace(const std::string& path) override;
    std::string readSetting(const std::string& section, const std::string& key,
                            const std::string& defaultText) override;
    void writeSetting(const std::string& section, const std::string& key,
                      const std::string& text) override;

private:
    void showDialog(FileDialog& dialog);
    static void unexpected(const std::string& what);

    std::deque<MessageAnswer> m_answers;
    std::deque<std::optional<std::string>> m_files;
    std::deque<std::optional<Channel>> m_channels;
    std::deque<std::optional<std::string>> m_folders;
    std::optional<int64_t> m_freeSpace;
    std::vector<RecordedMessage> m_messages;
    std::vector<FileDialog> m_dialogs;
    std::vector<std::string> m_folderCaptions;
    int m_modelessChoosers = 0;
    std::vector<std::pair<std::string, int>> m_help;
    std::vector<ProgressEvent> m_progress;
    float m_progressValue = 0;
    float m_progressMax = 100;
    bool m_busy = false;
    int m_busyChanges = 0;
    std::map<std::string, std::string> m_settings;  // "section/key" -> text
    std::vector<std::string> m_settingWrites;        // "section/key=text" in order
};

}  // namespace brenvik::test
