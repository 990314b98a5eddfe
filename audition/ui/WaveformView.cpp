#include "WaveformView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "AudioPlayback.h"

namespace brenvik {

namespace {
constexpr int kPlayheadIntervalMs = 33;
const QColor kBackground(0x20, 0x24, 0x2a);
const QColor kMarked(0x2e, 0x3a, 0x46);
const QColor kWave(0x7c, 0xc4, 0xff);
const QColor kPlayhead(0xff, 0xc8, 0x3c);
}  // namespace

WaveformView::WaveformView(QWidget* parent) : QWidget(parent), m_playheadTimer(new QTimer(this)) {
    setObjectName("waveform");
    setMinimumHeight(120);  // low enough to fit, high enough to see the hits of a loop
    connect(&m_loader, &PeakLoader::peaksArrived, this, qOverload<>(&QWidget::update));
    m_playheadTimer->setInterval(kPlayheadIntervalMs);
    connect(m_playheadTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void WaveformView::show(const audition::WaveformSource& source) {
    m_source = source;
    m_loader.load(source.runs);
}

void WaveformView::clear() {
    m_source = {};
    m_loader.clear();
}

void WaveformView::followPlayback(const AudioPlayback* playback) {
    if (m_playback) disconnect(m_playback, nullptr, this, nullptr);
    m_playback = playback;
    if (!playback) return;
    connect(playback, &AudioPlayback::playingChanged, this, [this](bool playing) {
        if (playing)
            m_playheadTimer->start();
        else
            m_playheadTimer->stop();
        update();
    });
    connect(playback, &QObject::destroyed, this, [this] { m_playback = nullptr; });
}

int WaveformView::columnOf(int64_t frame) const {
    const int64_t frames = std::max<int64_t>(m_loader.frames(), 1);
    return static_cast<int>(frame * width() / frames);
}

void WaveformView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const auto& lanes = m_loader.lanes();
    if (lanes.empty() || m_loader.frames() == 0) return;
    painter.fillRect(QRect(QPoint(columnOf(m_source.markFrom), 0),
                           QPoint(columnOf(m_source.markTo) - 1, height())),
                     kMarked);

    const int w = width();
    const int laneHeight = height() / static_cast<int>(lanes.size());
    const int64_t blocks = audition::peakBlocks(m_loader.frames());
    painter.setPen(kWave);
    for (size_t lane = 0; lane < lanes.size(); ++lane) {
        const auto& peaks = lanes[lane];
        const int top = static_cast<int>(lane) * laneHeight;
        const double half = laneHeight / 2.0;
        const double middle = top + half;
        for (int x = 0; x < w; ++x) {
            // The blocks this column covers; at least the one under it when zoomed in.
            const auto first = static_cast<size_t>(x * blocks / w);
            const auto last = std::max(first + 1, static_cast<size_t>((x + 1) * blocks / w));
            if (first >= peaks.size()) break;
            int low = peaks[first].min, high = peaks[first].max;
            for (size_t b = first + 1; b < std::min(last, peaks.size()); ++b) {
                low = std::min<int>(low, peaks[b].min);
                high = std::max<int>(high, peaks[b].max);
            }
            painter.drawLine(QPointF(x + 0.5, middle - high * half / 32768.0),
                             QPointF(x + 0.5, middle - low * half / 32768.0));
        }
    }
    if (m_playback && m_playback->isPlaying()) {
        const qint64 frame = m_playback->playheadFrame();
        if (frame >= 0) {
            painter.setPen(kPlayhead);
            const int x = columnOf(m_source.playFrom + frame);
            painter.drawLine(x, 0, x, height());
        }
    }
}

}  // namespace brenvik
