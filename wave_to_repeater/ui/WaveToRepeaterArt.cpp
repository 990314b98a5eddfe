#include "WaveToRepeaterArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace brenvik::waveart {
namespace {

const QColor kFolder(240, 200, 64);
const QColor kOutline(64, 48, 0);
const QColor kWave(0, 128, 128);
const QColor kCard(96, 96, 112);

QIcon draw(QSize size, const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(painter);
    painter.end();
    return QIcon(pixmap);
}

void drawFolder(QPainter& painter, const QRect& body) {
    painter.setPen(kOutline);
    painter.setBrush(kFolder);
    painter.drawRect(body.left(), body.top() - 2, body.width() / 2, 2);  // the tab
    painter.drawRect(body);
}

}  // namespace

QIcon openWaveImage() {
    return draw(kToolImageSize, [](QPainter& painter) {
        drawFolder(painter, QRect(0, 7, 12, 7));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kWave, 1.5));
        QPainterPath wave(QPointF(6, 6));
        wave.cubicTo(QPointF(8, 0), QPointF(10, 0), QPointF(11, 4));
        wave.cubicTo(QPointF(12, 8), QPointF(14, 8), QPointF(15.5, 2));
        painter.drawPath(wave);
    });
}

QIcon saveLoopImage() {
    return draw(kToolImageSize, [](QPainter& painter) {
        painter.setPen(kOutline);
        painter.setBrush(kCard);
        painter.drawRect(1, 0, 13, 14);
        painter.fillRect(3, 1, 9, 3, QColor(192, 192, 192));  // the card's label
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(255, 255, 128), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(4, 6, 7, 7), 90 * 16, 270 * 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 128));
        painter.drawPolygon(QPolygonF({QPointF(7.5, 4.5), QPointF(10.5, 6.5), QPointF(7.5, 8.5)}));
    });
}

QIcon loopFolderPicture() {
    return draw(QSize(16, 13), [](QPainter& painter) { drawFolder(painter, QRect(1, 3, 14, 9)); });
}

QIcon beatsPicture() {
    return draw(QSize(16, 16), [](QPainter& painter) {
        // Three beats of rising height, then the arrow that steps to the next split.
        for (int beat = 0; beat < 3; ++beat)
            painter.fillRect(1 + 4 * beat, 12 - 3 * beat, 3, 3 + 3 * beat, QColor(64, 64, 64));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(128, 0, 0), 1.5));
        painter.drawArc(QRectF(9, 1, 6, 6), 0, 270 * 16);
    });
}

}  // namespace brenvik::waveart
