#pragma once
// ".WAV to Repeater": the window that shows the wave-to-Repeater model in widgets. Every user
// action goes to one of the model's commands, after which the window draws the whole model again
// with its widgets' signals blocked, so one change never raises another behind the model's back.
#include <functional>
#include <optional>
#include <string>

#include "ConverterWindow.h"
#include "Preferences.h"
#include "WaveToRepeaterForm.h"
#include "WaveToRepeaterModel.h"

namespace brenvik {

class AuditionPanel;

class WaveToRepeaterWindow : public ConverterWindow {
    Q_OBJECT
public:
    // Builds the window and runs its load (the bar-length cycle back to the start, the next free
    // loop number), so the preferences must have been read before.
    WaveToRepeaterWindow(Preferences& preferences, Files& files, Interaction& ui, QWidget* parent = nullptr);
    ~WaveToRepeaterWindow() override;

    WaveToRepeaterModel& model() { return m_model; }
    void applyPreferences(const Preferences& before) override;
    // As the Open command does once its dialog returned this path.
    void openWave(const std::string& path);
    // As "Import and Convert..." does once its dialog returned this path.
    void importAudio(const std::string& path);
    // Play/Stop and the waveform of the opened wave.
    AuditionPanel* audition() const { return m_audition; }

    QAction* openAction() const { return m_openAction; }
    QAction* saveAction() const { return m_saveAction; }
    QAction* importAction() const { return m_importAction; }

    // One wave file dropped on the window opens as the Open command opens it (and one it refuses
    // for its rate or width is offered conversion); one AIFF or FLAC file is imported.
    bool canOpenDropped(const QStringList& paths) const override;
    void openDropped(const QStringList& paths) override;
    QString dropsTaken() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void connectControls();
    void connectChannel(const ChannelWidgets& widgets, Channel channel);
    // Runs one command of the model and draws what it left. A command that fails without a
    // message of its own (the tempo handling past 16 bits, say) ends there, its cause logged.
    void run(const std::function<void()>& command);
    // Runs an opening command, then shows and focuses what was opened for listening.
    void opened(const std::function<void()>& command);
    void onSave();
    void draw();
    void drawConversion();
    void drawChannel(const ChannelWidgets& widgets, Channel channel, bool visible);
    void drawWillWrite();
    void placeStretchedParts();
    // The opened wave, to listen to and to look at: drawn when another wave is opened, and again
    // after Open (the same file may have been rewritten).
    void showAudition();

    Interaction& m_interaction;
    const Preferences& m_preferences;
    WaveToRepeaterModel m_model;
    WaveToRepeaterForm m_ui;
    QAction* m_openAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_importAction = nullptr;
    AuditionPanel* m_audition = nullptr;
    int m_auditionTop = 0;
    std::optional<std::string> m_auditionedWave;  // what the panel was last given, none at first
};

}  // namespace brenvik
