#pragma once
// The main window: a frame holding the two converter windows, with the progress bar the
// converters move across the top. It runs the start-up, owns the commands both converter windows
// share (Preferences, Exit, Help Contents, About, the Window list) and the dialogs they open,
// and closes everything of the program when it closes.
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "ConverterWindow.h"
#include "DriveVolumes.h"

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;

namespace brenvik {

class AboutDialog;
class FolderChooser;
class Interaction;
class SettingsStore;
class PreferencesDialog;
struct Preferences;
class MainWindow;

// The converter windows are built by their own folders; the main window only creates them, in
// its start-up, once the preferences are read.
struct ConverterFactories {
    std::function<ConverterWindow*()> waveToRepeater, repeaterToWave;
    // The Card window, made when it is first asked for (none without a factory).
    std::function<QWidget*(MainWindow&)> card;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Preferences& preferences, Interaction& ui, SettingsStore& store,
               ConverterFactories factories, VolumeAccess volumes = VolumeAccess::system(),
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Reads the preferences, then opens the wave-to-Repeater and the Repeater-to-wave window
    // in the main window, maximised at the first start, and places them. Runs once.
    void startUp();

    QProgressBar* progressBar() const { return m_progressBar; }
    ConverterWindow* waveToRepeaterWindow() const { return m_waveToRepeater; }
    ConverterWindow* repeaterToWaveWindow() const { return m_repeaterToWave; }
    QMdiSubWindow* frameOf(const ConverterWindow* window) const;
    // The Card window while it exists (null otherwise). Its own menus are the QMenus it holds as
    // direct children; while it is active they stand before the Window menu of the converter
    // window whose menus were shown last.
    QWidget* cardWindow() const { return m_card; }
    // Where the windows keep what they remember between runs.
    SettingsStore& settingsStore() const { return m_store; }
    // Brings a child window forward, restoring it when it is minimised.
    void activateChild(QMdiSubWindow* frame);

    // The dialogs while they exist (null otherwise).
    PreferencesDialog* preferencesDialog() const;
    AboutDialog* aboutDialog() const;
    // The folder chooser, created on first use.
    FolderChooser* folderChooser();

    // The folder chooser for the converters: modal with a caption and a result, or merely shown
    // as the user left it.
    std::optional<std::string> chooseFolder(const std::string& caption);
    void showFolderChooser();
    // A folder chooser of its own, opened at startFolder, for the Card window; the converters'
    // chooser keeps what the user left in it.
    std::optional<std::string> chooseFolderFrom(const std::string& caption, const std::string& startFolder);

    // How long a note stays in the status line.
    static constexpr int kStatusMs = 6000;

public slots:
    void onPreferencesRequested();
    void onContentsRequested();
    void onAboutRequested();
    // Makes the Card window the active child, creating it on first use.
    void onCardRequested();
    // A note in the status line, for kStatusMs.
    void showStatus(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMdiSubWindow* adopt(ConverterWindow* window);
    void showMenusOf(QMdiSubWindow* frame);
    void fillWindowMenu(QMenu* menu);
    void placeChildren();
    void placeChildren(QSize area, bool starting);
    void keepPlaces();
    void keepInsideArea(QMdiSubWindow* frame);

    Preferences& m_preferences;
    Interaction& m_ui;
    SettingsStore& m_store;
    ConverterFactories m_factories;
    VolumeAccess m_volumes;
    QProgressBar* m_progressBar;
    QMdiArea* m_mdiArea;
    QPointer<ConverterWindow> m_waveToRepeater;
    QPointer<ConverterWindow> m_repeaterToWave;
    QPointer<QWidget> m_card;
    QPointer<ConverterWindow> m_menusShown;  // whose menus the menu bar shows
    QPointer<PreferencesDialog> m_preferencesDialog;
    QPointer<FolderChooser> m_folderChooser;
    QPointer<AboutDialog> m_aboutDialog;
    // The converter windows the program placed and the user has not moved since, where they are.
    std::map<const QMdiSubWindow*, QRect> m_placedAt;
};

}  // namespace brenvik
