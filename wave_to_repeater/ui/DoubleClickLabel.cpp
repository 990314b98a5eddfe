#include "DoubleClickLabel.h"

#include <QMouseEvent>

namespace brenvik {

DoubleClickLabel::DoubleClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void DoubleClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) {
        emit doubleClicked();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}

}  // namespace brenvik
