#include "Rep2WavImages.h"

#include <QPainter>
#include <QPainterPath>

namespace brenvik {

namespace {

// A short stretch of wave across the picture, centred on row y.
void drawWave(QPainter& p, const QColor& colour, qreal y, qreal height) {
    QPainterPath path(QPointF(1, y));
    for (int x = 1; x <= 15; x += 2)
        path.quadTo(QPointF(x + 1, (x % 4 == 1) ? y - height : y + height), QPointF(x + 2, y));
    p.setPen(QPen(colour, 1.2));
    p.drawPath(path);
}

void drawOpen(QPainter& p) {
    // A folder with a loop inside: a track of a loop folder.
    p.setPen(QColor(0x80, 0x60, 0x00));
    p.setBrush(QColor(0xF0, 0xC8, 0x40));
    p.drawRect(1, 4, 13, 9);
    p.drawRect(1, 2, 5, 2);
    drawWave(p, QColor(0x00, 0x00, 0x80), 8.5, 2);
}

void drawSave(QPainter& p) {
    // A disk with the gaps cut away: a wave between two scissor marks.
    p.setPen(QColor(0x00, 0x00, 0x60));
    p.setBrush(QColor(0x30, 0x50, 0xB0));
    p.drawRect(1, 1, 13, 12);
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 9, 5);
    drawWave(p, QColor(0xFF, 0xFF, 0x80), 10, 1.5);
}

void drawMono(QPainter& p) { drawWave(p, QColor(0x00, 0x00, 0xC0), 7, 4); }

void drawStereo(QPainter& p) {
    drawWave(p, QColor(0x00, 0x00, 0xC0), 4, 2.5);
    drawWave(p, QColor(0xC0, 0x00, 0x00), 10.5, 2.5);
}

void drawCrossFade(QPainter& p) {
    // One level falling while the other rises.
    p.setPen(QPen(QColor(0x00, 0x00, 0xC0), 1.5));
    p.drawLine(QPointF(1, 2), QPointF(14, 13));
    p.setPen(QPen(QColor(0xC0, 0x00, 0x00), 1.5));
    p.drawLine(QPointF(1, 13), QPointF(14, 2));
}

}  // namespace

QPixmap rep2WavImage(int index) {
    if (index < 1 || index > 5) return {};
    QPixmap image(kRep2WavImageWidth, kRep2WavImageHeight);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 1: drawOpen(p); break;
    case 2: drawSave(p); break;
    case 3: drawMono(p); break;
    case 4: drawStereo(p); break;
    default: drawCrossFade(p); break;
    }
    return image;
}

}  // namespace brenvik
