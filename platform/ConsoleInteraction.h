#pragma once
// The command-line tool's side of the user: messages go to the error stream (the first line the
// message itself, the reason behind it on the next, indented), every question gets the answer the
// command line gave, nothing is chosen in a dialog, and the progress bar is drawn on the error
// stream when it is a terminal.
#include <ostream>
#include <string>

#include "Interaction.h"

namespace brenvik {

class ConsoleInteraction : public Interaction {
public:
    explicit ConsoleInteraction(std::ostream& err, bool drawProgress = false)
        : m_err(err), m_drawProgress(drawProgress) {}

    // The answer to every question (Cancel unless the command line said otherwise).
    void setQuestionAnswer(MessageAnswer answer) { m_answer = answer; }

    MessageAnswer message(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::None,
                          const std::string& detail = {}) override;
    std::optional<std::string> chooseFileToOpen(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFileToSave(const FileDialogRequest&) override { return {}; }
    std::optional<Channel> chooseChannel() override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override {
        return {};
    }
    void showFolderChooser() override {}
    void showManual() override {}
    void setBusy(bool) override {}
    void showProgress(float done, float total) override;
    void logFailure(const std::string& command, const std::string& reason) override;

private:
    void endProgressLine();

    std::ostream& m_err;
    bool m_drawProgress;
    MessageAnswer m_answer = MessageAnswer::Cancel;
    int m_drawn = -1;  // the percentage on the progress line, -1 when none is drawn
};

// The line that gives a reason below a message on the console: indented, or nothing when there is
// no reason.
std::string reasonLine(const std::string& reason);

}  // namespace brenvik
