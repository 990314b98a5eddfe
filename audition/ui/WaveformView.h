#pragma once
// A waveform overview to place in a window: each lane (channel or track) drawn as the lowest and
// highest sample of every pixel column, the part a loop holds marked, and a playhead while the
// audio plays. Peaks are drawn as they arrive from the worker thread.
#include <QWidget>
#include <vector>

#include "PeakLoader.h"
#include "WaveformSource.h"

class QTimer;

namespace brenvik {

class AudioPlayback;

class WaveformView : public QWidget {
    Q_OBJECT
public:
    explicit WaveformView(QWidget* parent = nullptr);

    // Shows the source's runs with its mark; the playhead counts from its playFrom.
    void show(const audition::WaveformSource& source);
    void clear();
    // The playhead follows this playback while it plays.
    void followPlayback(const AudioPlayback* playback);

    const PeakLoader& peaks() const { return m_loader; }
    QSize sizeHint() const override { return {400, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int columnOf(int64_t frame) const;

    PeakLoader m_loader;
    audition::WaveformSource m_source;
    const AudioPlayback* m_playback = nullptr;
    QTimer* m_playheadTimer = nullptr;
};

}  // namespace brenvik
