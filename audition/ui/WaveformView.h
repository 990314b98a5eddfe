#pragma once
// A waveform overview to place in a window: each lane (channel or track) drawn as the lowest and
// highest sample of every pixel column, the part a loop holds marked, and a playhead while the
// audio plays. Peaks are drawn as they arrive from the worker thread.
#include <QWidget>
#include <vector>

#include "PeakLoader.h"

class QTimer;

namespace brenvik {

class AudioPlayback;

class WaveformView : public QWidget {
    Q_OBJECT
public:
    explicit WaveformView(QWidget* parent = nullptr);

    // Shows these runs (a wave's channels, or a track's or a pair's whole data); the mark covers
    // them all until setMarkedRange says otherwise.
    void showRuns(std::vector<audition::SampleRun> runs);
    void clear();
    // Frames [from, to) are the part the loop holds.
    void setMarkedRange(int64_t from, int64_t to);
    // Playhead positions count from this frame of the view (where the played audio starts).
    void followPlayback(const AudioPlayback* playback, int64_t firstFrame = 0);

    const PeakLoader& peaks() const { return m_loader; }
    QSize sizeHint() const override { return {400, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int columnOf(int64_t frame) const;

    PeakLoader m_loader;
    int64_t m_markFrom = 0, m_markTo = -1;  // -1: everything
    const AudioPlayback* m_playback = nullptr;
    int64_t m_playFrom = 0;
    QTimer* m_playheadTimer = nullptr;
};

}  // namespace brenvik
