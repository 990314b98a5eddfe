#pragma once
// Shows a control's plain state (platform/Controls.h) in the Qt widget that stands for it. The
// widget's signals are blocked meanwhile: the window re-reads its whole model after every
// handler, and only the model may raise change or click handling.
class QAction;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace brenvik {

struct Control;
struct OptionButton;
struct ScrollBar;

namespace controlview {

// Shown and usable only; for frames, shapes, strips and buttons whose captions never change.
void showState(QWidget* widget, const Control& control);
void showLabel(QLabel* label, const Control& control);
void showTextBox(QLineEdit* box, const Control& control);
void showOption(QRadioButton* option, const OptionButton& state);
// The Qt range runs from the lower end to the higher end whichever of Min and Max is larger;
// a bar that shows its largest value at the top turns its picture round itself.
void showScrollBar(QScrollBar* bar, const ScrollBar& state);
// A toolbar button: its text is the tool tip.
void showToolButton(QAction* button, const Control& control);

}  // namespace controlview
}  // namespace brenvik
