#include "BrenvikArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace brenvik {
namespace {

// A closed loop with an arrow head and a waveform inside, scaled into the given rectangle.
void drawLoop(QPainter& painter, const QRectF& area) {
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = std::min(area.width(), area.height()) / 100.0;
    const QRectF ring = QRectF(area.center().x() - 40 * unit, area.center().y() - 40 * unit,
                               80 * unit, 80 * unit);
    painter.setPen(QPen(QColor(0, 192, 192), 7 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, 100 * 16, 320 * 16);
    // Arrow head at the open end of the ring, pointing along it.
    const qreal angle = 100.0 * M_PI / 180.0;
    const QPointF tip(ring.center().x() + 40 * unit * std::cos(angle),
                      ring.center().y() - 40 * unit * std::sin(angle));
    QPainterPath head;
    head.moveTo(tip + QPointF(12 * unit, 0));
    head.lineTo(tip + QPointF(-6 * unit, -10 * unit));
    head.lineTo(tip + QPointF(-6 * unit, 10 * unit));
    head.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 192, 192));
    painter.drawPath(head);

    QPainterPath wave;
    const qreal left = ring.center().x() - 28 * unit;
    for (int i = 0; i <= 56; ++i) {
        const qreal x = left + i * unit;
        const qreal envelope = std::sin(i * M_PI / 56.0);
        const QPointF point(x, ring.center().y() - 18 * unit * envelope * std::sin(i * 0.9));
        if (i == 0)
            wave.moveTo(point);
        else
            wave.lineTo(point);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 128), 2.5 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(wave);
}

}  // namespace

QPixmap aboutPicture() {
    QPixmap picture(186, 153);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, 153);
    sky.setColorAt(0, QColor(0, 40, 64));
    sky.setColorAt(1, QColor(0, 96, 96));
    painter.fillRect(picture.rect(), sky);
    drawLoop(painter, QRectF(0, 0, 186, 153));
    return picture;
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(QColor(0, 64, 64));
        QPainter painter(&pixmap);
        drawLoop(painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace brenvik
