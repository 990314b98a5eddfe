#pragma once
// The window program's side of the user: Qt message boxes (the reason behind a message as their
// informative text, below it) and file dialogs, the help viewer, the busy pointer and the main
// window's progress bar. The program's own dialogs (the channel dialog, the folder chooser) live
// above the platform; the windows that own them plug them in through the hooks.
#include <QPointer>
#include <functional>

#include "Interaction.h"

class QProgressBar;
class QWidget;

namespace brenvik {

class QtInteraction : public Interaction {
public:
    QtInteraction();
    ~QtInteraction() override;

    // What the shell plugs in. Without a hook a chooser answers as if cancelled.
    std::function<std::optional<Channel>()> chooseChannelHook;
    // The chooser is modal; a caller that cancels keeps its own folder.
    std::function<std::optional<std::string>(const std::string& caption)> chooseFolderHook;
    std::function<void()> showFolderChooserHook;

    // The main window hands over its progress bar; the platform moves it from then on.
    void setProgressBar(QProgressBar* bar);

    MessageAnswer ask(const std::string& text, const std::string& yes, const std::string& no) override;
    MessageAnswer message(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::None,
                          const std::string& detail = {}) override;
    std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
    std::optional<int> askNumber(const std::string& text, int value, int lowest, int highest) override;
    std::optional<Channel> chooseChannel() override;
    std::optional<std::string> chooseFolder(const std::string& caption,
                                            const std::string& current) override;
    void showFolderChooser() override;
    void showManual() override;
    void setBusy(bool busy) override;
    void showProgress(float done, float total) override;
    void logFailure(const std::string& command, const std::string& reason) override;

    // The bar runs over this many steps once the platform drives it, so a copy of any size
    // moves it smoothly.
    static constexpr int kProgressSteps = 10000;

private:
    QPointer<QProgressBar> m_progressBar;
    bool m_busy = false;
    QPointer<QWidget> m_helpViewer;
};

}  // namespace brenvik
