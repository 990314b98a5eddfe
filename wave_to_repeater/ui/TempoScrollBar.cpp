#include "TempoScrollBar.h"

#include <QWheelEvent>

namespace brenvik {

TempoScrollBar::TempoScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    // Largest value at the top. A scroll bar's keys already follow its arrows (Qt inverts its
    // controls), so Up raises the value like the up arrow does.
    setInvertedAppearance(true);
    connect(this, &QAbstractSlider::actionTriggered, this, &TempoScrollBar::turnRound);
}

// Qt has already moved the slider position the ordinary way when it reports the action; the
// position is set again from the value, in the direction the upside-down picture shows.
void TempoScrollBar::turnRound(int action) {
    const bool add = action == SliderSingleStepAdd || action == SliderPageStepAdd;
    const bool sub = action == SliderSingleStepSub || action == SliderPageStepSub;
    if (add || sub) {
        const bool single = action == SliderSingleStepAdd || action == SliderSingleStepSub;
        const int step = single ? singleStep() : pageStep();
        setSliderPosition(add ? value() - step : value() + step);
    } else if (action == SliderToMinimum) {
        setSliderPosition(maximum());
    } else if (action == SliderToMaximum) {
        setSliderPosition(minimum());
    }
}

// The inverted controls would turn the wheel the wrong way round: rolling it up must move the
// thumb up, to a larger value.
void TempoScrollBar::wheelEvent(QWheelEvent* event) {
    QWheelEvent turned(event->position(), event->globalPosition(), -event->pixelDelta(),
                       -event->angleDelta(), event->buttons(), event->modifiers(), event->phase(),
                       event->inverted(), Qt::MouseEventNotSynthesized,
                       event->pointingDevice());
    QScrollBar::wheelEvent(&turned);
    event->setAccepted(turned.isAccepted());
}

}  // namespace brenvik
