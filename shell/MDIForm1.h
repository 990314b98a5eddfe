#pragma once
// The main window: a frame holding the two converter windows, with the progress bar the
// converters move across the top. It runs the start-up, owns the commands both converter windows
// share (Preferences, Exit, Help Contents, About, the Window list) and the dialogs they open,
// and closes everything of the program when it closes.
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>

#include "ConverterWindow.h"
#include "DriveVolumes.h"

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;

namespace brenvik {

struct AppGlobals;
class DirSelect;
class Platform;
class Pref;
class frmAbout;

// The converter windows are built by their own folders; the main window only creates them, in
// its start-up, once the preferences are read.
struct ConverterFactories {
    std::function<ConverterWindow*()> wav2Rep;
    std::function<ConverterWindow*()> rep2Wav;
};

class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    MDIForm1(AppGlobals& globals, Platform& platform, ConverterFactories factories,
             VolumeAccess volumes = VolumeAccess::system(), QWidget* parent = nullptr);
    ~MDIForm1() override;

    // The start-up sequence: globals, preferences, the two converter windows (shown in the
    // maximised main window), their stacking. Runs once.
    void MDIForm_Load();

    QProgressBar* ProgressBar1() const { return m_progressBar; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    ConverterWindow* wav2Rep() const { return m_wav2Rep; }
    ConverterWindow* Rep2Wav() const { return m_rep2Wav; }
    QMdiSubWindow* frameOf(const ConverterWindow* window) const;

    // The dialogs while they are loaded (null otherwise).
    Pref* preferencesDialog() const;
    DirSelect* loadedFolderChooser() const;
    frmAbout* aboutBox() const;
    // The folder chooser, created (and so loaded) on first use.
    DirSelect* folderChooser();

    // Sets the wave-to-Repeater window's loop number text; the Preferences OK uses it.
    void setLoopNumberHook(std::function<void(const std::string&)> hook) {
        m_loopNumberHook = std::move(hook);
    }

    // The folder chooser for the converters: modal with a caption and a result, or merely
    // shown as the user left it.
    void chooseFolder(const std::string& caption, std::string& chosenFolder);
    void showFolderChooser();

    // Lists the child windows in a converter window's Window menu; choosing one activates it.
    void fillWindowMenu(QMenu* menu);
    void activateChild(QMdiSubWindow* frame);

    // ---- the shared commands ----
    void Preferences_Click();
    void Exit_Click();
    void Contents_Click();
    void About_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QMdiSubWindow* adopt(ConverterWindow* window);
    void showMenusOf(QMdiSubWindow* frame);
    void stackChildren();
    void closeOtherWindows();

    AppGlobals& m_globals;
    Platform& m_platform;
    ConverterFactories m_factories;
    VolumeAccess m_volumes;
    QProgressBar* m_progressBar;
    QMdiArea* m_mdiArea;
    QPointer<ConverterWindow> m_wav2Rep;
    QPointer<ConverterWindow> m_rep2Wav;
    QPointer<Pref> m_pref;
    QPointer<DirSelect> m_dirSelect;
    QPointer<frmAbout> m_about;
    std::function<void(const std::string&)> m_loopNumberHook;
};

}  // namespace brenvik
