#pragma once
// The window program's platform: Qt message boxes and file dialogs, QSettings, the help viewer,
// the busy pointer and the main window's progress bar. The program's own dialogs (the channel
// selection, the folder chooser) live above the platform; the windows that own them plug them
// in through the hooks.
#include <QPointer>
#include <QString>
#include <functional>

#include "Platform.h"

class QProgressBar;
class QWidget;

namespace brenvik {

class QtHelpViewer;

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // ---- what the shell and the windows plug in ----
    std::function<std::optional<Channel>()> chooseChannelHook;
    std::function<void(const std::string& caption, std::string& chosenFolder)> chooseFolderHook;
    std::function<void()> showFolderChooserHook;

    // The main window hands over its progress bar; the platform moves it from then on.
    void setProgressBar(QProgressBar* bar);
    // The manual the help viewer shows (a resource URL such as "qrc:/help/manual.html").
    void setManualSource(const QString& source) { m_manualSource = source; }
    QtHelpViewer* helpViewer() const;

    // ---- Platform ----
    MessageAnswer message(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::None) override;
    void showOpenDialog(FileDialog& dialog) override;
    void showSaveDialog(FileDialog& dialog) override;
    std::optional<Channel> chooseChannel() override;
    void chooseFolder(const std::string& caption, std::string& chosenFolder) override;
    void showFolderChooser() override;
    void showHelp(const std::string& helpFile, int command) override;
    void setBusy(bool busy) override;
    void setProgressMin(float value) override;
    void setProgressMax(float value) override;
    void setProgressValue(float value) override;
    float progressValue() const override { return m_progressValue; }
    std::string readSetting(const std::string& section, const std::string& key,
                            const std::string& defaultText) override;
    void writeSetting(const std::string& section, const std::string& key,
                      const std::string& text) override;

    // The bar runs over this many steps once the platform drives it, so float ranges of any
    // size move it smoothly.
    static constexpr int kProgressSteps = 10000;

private:
    void showProgress();

    QPointer<QProgressBar> m_progressBar;
    float m_progressMin = 0;
    float m_progressMax = 100;
    float m_progressValue = 0;
    bool m_busy = false;
    QString m_manualSource = QStringLiteral("qrc:/help/manual.html");
    QPointer<QtHelpViewer> m_helpViewer;
};

}  // namespace brenvik
