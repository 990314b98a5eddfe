#pragma once
// The platform of the command-line tool: messages go to the error stream, every Yes/No/Cancel
// question gets the answer the command line gave, nothing is chosen in a dialog, and the progress
// bar is drawn on the error stream when it is a terminal.
#include <map>
#include <ostream>
#include <string>

#include "Platform.h"

namespace brenvik {

class ConsolePlatform : public Platform {
public:
    explicit ConsolePlatform(std::ostream& err, bool drawProgress = false)
        : m_err(err), m_drawProgress(drawProgress) {}

    // The answer to every question (Cancel unless the command line said otherwise).
    void setQuestionAnswer(MessageAnswer answer) { m_answer = answer; }

    MessageAnswer message(const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override;
    std::optional<std::string> chooseFileToOpen(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFileToSave(const FileDialogRequest&) override { return {}; }
    std::optional<Channel> chooseChannel() override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
    void showFolderChooser() override {}
    void showManual() override {}
    void setBusy(bool) override {}
    void showProgress(float done, float total) override;
    std::string readSetting(const std::string& section, const std::string& key,
                            const std::string& defaultText) override;
    void writeSetting(const std::string& section, const std::string& key,
                      const std::string& text) override;

private:
    void endProgressLine();

    std::ostream& m_err;
    bool m_drawProgress;
    MessageAnswer m_answer = MessageAnswer::Cancel;
    std::map<std::string, std::string> m_settings;
    int m_drawn = -1;  // the percentage on the progress line, -1 when none is drawn
};

}  // namespace brenvik
