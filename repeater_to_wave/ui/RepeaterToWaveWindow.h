#pragma once
// "Repeater to .WAV": draws the Repeater-to-wave model in widgets and routes the user's commands
// to it. Every command is followed by drawing the whole model again; sizes become text only here.
#include <array>

#include "ConverterWindow.h"
#include "RepeaterToWaveModel.h"

class QAction;
class QLabel;
class QToolBar;

namespace brenvik {

class AuditionPanel;

class RepeaterToWaveWindow : public ConverterWindow {
    Q_OBJECT
public:
    // The preferences, the files and the interaction must outlive the window. In stereo mode the
    // open command asks the interaction for the channel.
    RepeaterToWaveWindow(const Preferences& preferences, Files& files, Interaction& ui,
                         QWidget* parent = nullptr);

    RepeaterToWaveModel& model() { return m_model; }
    // Play/Stop and the waveform of the opened track or tracks.
    AuditionPanel* audition() const { return m_audition; }
    // For the screenshot tour: stereo mode with these tracks opened as left and right, as the
    // Open command does once its dialogs have returned.
    void showStereoTracks(const std::string& leftTrack, const std::string& rightTrack);
    // A loop folder's chosen tracks: two as left and right in stereo mode, one in mono mode.
    void openLoop(const std::string& folder);

    // A track file opens into the channel the mode selects, two track files in stereo mode as
    // left and right (in name order), a loop folder with its chosen tracks.
    bool canOpenDropped(const QStringList& paths) const override;
    void openDropped(const QStringList& paths) override;
    QString dropsTaken() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void onOpenTriggered();
    void onSaveTriggered();
    void onMonoTriggered();
    void onStereoTriggered();

private:
    // One column of the window: its header, the seven captions and the seven values (file, loop,
    // track, pre-buffer, audio, post-buffer, total).
    struct Column {
        QLabel* header = nullptr;
        std::array<QLabel*, 7> captions{};
        std::array<QLabel*, 7> values{};
    };

    void buildColumns();
    void buildToolBar();
    void buildMenus();
    void showModel();
    // After an Open: the model, and the focus where Space plays what was opened.
    void showOpened();
    // The opened track or pair as the saved wave will sound; the waveform of what is opened.
    void showAudition();
    void showTrack(const Column& column, const std::optional<OpenedTrack>& track);
    // The Loop row: the loop folder, with the loop's name in the user's loop library if it has one.
    QString loopText(const OpenedTrack& track);

    Files& m_files;
    RepeaterToWaveModel m_model;
    Column m_left, m_right;
    QToolBar* m_toolBar = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_saveAction = nullptr;
    AuditionPanel* m_audition = nullptr;
};

}  // namespace brenvik
