#pragma once
// The tempo bar keeps its largest position at the top: moving it up lengthens the loop and raises
// the tempo. A Qt scroll bar cannot have its minimum above its maximum, so this one runs over the
// usual range with its appearance turned upside down, and turns the arrows, the page clicks, the
// keys and the wheel round with it, so that the up arrow and a click above the thumb raise the
// value as the picture suggests. The widget's value is the control's Value itself.
#include <QScrollBar>

namespace brenvik {

class TempoScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit TempoScrollBar(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void turnRound(int action);
};

}  // namespace brenvik
