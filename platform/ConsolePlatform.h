#pragma once
// The platform of the command-line tool: messages go to the error stream, questions get the
// answer the command line gave, dialogs keep the names the command line put into them, and
// the progress bar is drawn on the error stream when it is a terminal.
#include <deque>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Platform.h"

namespace brenvik {

class ConsolePlatform : public Platform {
public:
    explicit ConsolePlatform(std::ostream& err, bool drawProgress = false)
        : m_err(err), m_drawProgress(drawProgress) {}

    // The answer to every Yes/No/Cancel question (Cancel unless the command line said otherwise).
    void setQuestionAnswer(MessageAnswer answer) { m_answer = answer; }
    void setChannel(std::optional<Channel> channel) { m_channel = channel; }
    // The path the next open or save dialog returns, as if the user had picked it; a dialog
    // with nothing queued acts as cancelled.
    void queueFileChoice(const std::string& path) { m_fileChoices.push_back(path); }

    const std::vector<std::string>& messagesShown() const { return m_messages; }
    bool saw(const std::string& text) const;

    MessageAnswer message(const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override;
    void showOpenDialog(FileDialog& dialog) override { takeFileChoice(dialog); }
    void showSaveDialog(FileDialog& dialog) override { takeFileChoice(dialog); }
    std::optional<Channel> chooseChannel() override { return m_channel; }
    void chooseFolder(const std::string&, std::string&) override {}
    void showFolderChooser() override {}
    void showHelp(const std::string& helpFile, int command) override;
    void setBusy(bool) override {}
    void setProgressMin(float value) override { m_min = value; }
    void setProgressMax(float value) override { m_max = value; }
    void setProgressValue(float value) override;
    float progressValue() const override { return m_value; }
    std::string readSetting(const std::string& section, const std::string& key,
                            const std::string& defaultText) override;
    void writeSetting(const std::string& section, const std::string& key,
                      const std::string& text) override;

private:
    void takeFileChoice(FileDialog& dialog);

    std::ostream& m_err;
    std::deque<std::string> m_fileChoices;
    bool m_drawProgress;
    MessageAnswer m_answer = MessageAnswer::Cancel;
    std::optional<Channel> m_channel = Channel::Left;
    std::vector<std::string> m_messages;
    std::map<std::string, std::string> m_settings;
    float m_min = 0, m_max = 100, m_value = 0;
    int m_drawn = -1;
};

}  // namespace brenvik
