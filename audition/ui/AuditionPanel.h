#pragma once
// Listening and looking in a window: a Play/Stop button beside the waveform of what it plays,
// and a note below when there is nothing it can play. Each window hands it what it has opened or
// selected; showing the same audio again changes nothing, so a window may do so after every
// command. The Space key plays and stops wherever in its window the focus does not take a space
// itself. The program has one audio output and one listener: a panel that starts playing stops
// every other panel.
#include <QWidget>
#include <optional>
#include <string>

#include "PlaySource.h"
#include "WaveformSource.h"

class QLabel;
class QPushButton;

namespace brenvik {

class AudioPlayback;
class Interaction;
class WaveformView;

class AuditionPanel : public QWidget {
    Q_OBJECT
public:
    // Failures while playing are told through `ui`, which must outlive the panel.
    explicit AuditionPanel(Interaction& ui, QWidget* parent = nullptr);
    ~AuditionPanel() override;

    // What Play plays and what the waveform shows; a refused preparation disables Play and says
    // why below the waveform. While playing, other audio plays from its start at once, and audio
    // that cannot be played stops it.
    void show(const audition::Preparation& prepared,
              const std::optional<audition::WaveformSource>& waveform);
    // Nothing opened or selected: no waveform, and Play disabled with `why` as its tooltip.
    void clear(const std::string& why);

    // Space plays and stops while the focus is inside `window` (once per panel).
    void takeSpaceIn(QWidget* window);

    void togglePlayback();
    bool isPlaying() const;
    const AudioPlayback* playback() const { return m_playback; }
    QPushButton* playButton() const { return m_playButton; }
    WaveformView* waveform() const { return m_waveform; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drawButton();
    void start();
    void setNote(const QString& note);

    Interaction& m_ui;
    AudioPlayback* m_playback;
    QPushButton* m_playButton;
    WaveformView* m_waveform;
    QLabel* m_note;
    std::optional<audition::PlaySource> m_source;
    std::string m_shown;  // what show() was last given, so the same audio shown again is kept
    QString m_refusal;    // why the source cannot be played
    QWidget* m_spaceWindow = nullptr;
};

}  // namespace brenvik
