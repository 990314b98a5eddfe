#pragma once
// The user's side for tests, scripted: every message is recorded (text, buttons, icon, detail)
// and every question is answered from a queue; a prompt that the test did not script fails the
// running test. The settings store is kept in memory, its writes recorded.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Interaction.h"
#include "SettingsStore.h"

namespace brenvik::test {

struct RecordedMessage {
    std::string text;
    MessageButtons buttons;
    MessageIcon icon;
    std::string detail;
    std::string yes, no;  // the buttons of a question that names them
};

class TestInteraction : public Interaction, public SettingsStore {
public:
    // --- scripting the user's side ---
    void answerNextQuestion(MessageAnswer answer) { m_answers.push_back(answer); }
    // A path, or nothing for a cancelled dialog.
    void chooseNextFile(std::optional<std::string> path) { m_files.push_back(std::move(path)); }
    void chooseNextChannel(std::optional<Channel> channel) { m_channels.push_back(channel); }
    // A number given, or nothing for a cancelled number dialog; its question is recorded as a message.
    void giveNextNumber(std::optional<int> number) { m_numbers.push_back(number); }
    void chooseNextFolder(std::optional<std::string> folder) {
        m_folders.push_back(std::move(folder));
    }

    // Whether the window under test takes input; asked at every message and every switch to the
    // busy pointer, the answers kept.
    std::function<bool()> windowUsable;
    std::vector<bool> usableAtMessage, usableWhenBusy;
    // Called as a file dialog would close: a real one leaves no window active for a moment.
    std::function<void()> fileDialogClosing;

    // --- what was shown ---
    const std::vector<RecordedMessage>& messages() const { return m_messages; }
    std::vector<std::string> messageTexts() const;
    const std::vector<FileDialogRequest>& dialogsShown() const { return m_dialogs; }
    const std::vector<std::string>& folderCaptions() const { return m_folderCaptions; }
    int modelessChoosersShown() const { return m_modelessChoosers; }
    int manualsShown() const { return m_manuals; }
    // Every (done, total) the progress bar was given, in order.
    const std::vector<std::pair<float, float>>& progress() const { return m_progress; }
    bool busy() const { return m_busy; }
    // "command: reason" of every failure that ended a command without a message.
    const std::vector<std::string>& failuresLogged() const { return m_failures; }
    std::map<std::string, std::string>& settings() { return m_settings; }
    const std::vector<std::string>& settingWrites() const { return m_settingWrites; }
    void clearRecords();

    // --- Interaction ---
    MessageAnswer message(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::None,
                          const std::string& detail = {}) override;
    MessageAnswer ask(const std::string& text, const std::string& yes, const std::string& no) override;
    std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
    std::optional<int> askNumber(const std::string& text, int value, int lowest, int highest) override;
    std::optional<Channel> chooseChannel() override;
    std::optional<std::string> chooseFolder(const std::string& caption,
                                            const std::string& current) override;
    void showFolderChooser() override { ++m_modelessChoosers; }
    void showManual() override { ++m_manuals; }
    void setBusy(bool busy) override;
    void showProgress(float done, float total) override { m_progress.emplace_back(done, total); }
    void logFailure(const std::string& command, const std::string& reason) override {
        m_failures.push_back(command + ": " + reason);
    }

    // --- SettingsStore ---
    std::string readSetting(const std::string& section, const std::string& key,
                            const std::string& defaultText) override;
    void writeSetting(const std::string& section, const std::string& key,
                      const std::string& text) override;

private:
    std::optional<std::string> takeFile(const FileDialogRequest& request);
    template <typename T>
    T take(std::deque<T>& queue, const std::string& what, T fallback);

    std::deque<MessageAnswer> m_answers;
    std::deque<std::optional<std::string>> m_files;
    std::deque<std::optional<Channel>> m_channels;
    std::deque<std::optional<int>> m_numbers;
    std::deque<std::optional<std::string>> m_folders;
    std::vector<RecordedMessage> m_messages;
    std::vector<FileDialogRequest> m_dialogs;
    std::vector<std::string> m_folderCaptions;
    int m_modelessChoosers = 0;
    int m_manuals = 0;
    std::vector<std::pair<float, float>> m_progress;
    bool m_busy = false;
    std::vector<std::string> m_failures;
    std::map<std::string, std::string> m_settings;  // "section/key" -> text
    std::vector<std::string> m_settingWrites;       // "section/key=text" in order
};

}  // namespace brenvik::test
