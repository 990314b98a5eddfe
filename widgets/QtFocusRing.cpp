#include "QtFocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QWidget>

namespace brenvik {
namespace {

constexpr int kBand = 2;  // pixels of yellow outside the control
const QColor kRingColour(255, 255, 0);

class FocusRing : public QWidget {
public:
    explicit FocusRing(QWidget* window) : QWidget(window), m_window(window) {
        setObjectName(QStringLiteral("focusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { follow(now); });
        follow(QApplication::focusWidget());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(kRingColour, kBand, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(rect()).adjusted(kBand / 2.0, kBand / 2.0, -kBand / 2.0, -kBand / 2.0));
        // A black line along the control's own edge keeps the band apart from light controls.
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(kBand, kBand, -kBand - 1, -kBand - 1));
    }

    // The control may move, change size or hide while it has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_target) {
            switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide: place(); break;
            default: break;
            }
        }
        return QWidget::eventFilter(watched, event);
    }

private:
    void follow(QWidget* focused) {
        if (m_target) m_target->removeEventFilter(this);
        const bool ours = focused && focused != m_window && m_window->isAncestorOf(focused);
        m_target = ours ? focused : nullptr;
        if (m_target) m_target->installEventFilter(this);
        place();
    }

    void place() {
        if (!m_target || !m_target->isVisible()) {
            hide();
            return;
        }
        // A child of the window itself, above all its controls, so no frame between clips it.
        const QRect control(m_target->mapTo(m_window, QPoint(0, 0)), m_target->size());
        setGeometry(control.adjusted(-kBand, -kBand, kBand, kBand));
        raise();
        show();
    }

    QWidget* m_window;
    QPointer<QWidget> m_target;
};

}  // namespace

void showFocusRing(QWidget* window) {
    new FocusRing(window);
}

}  // namespace brenvik
