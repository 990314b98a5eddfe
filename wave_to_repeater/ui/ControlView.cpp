#include "ControlView.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "Controls.h"

namespace brenvik::controlview {

void showState(QWidget* widget, const Control& control) {
    widget->setVisible(control.visible);
    widget->setEnabled(control.enabled);
}

void showLabel(QLabel* label, const Control& control) {
    label->setText(QString::fromStdString(control.text));
    showState(label, control);
}

// A text that is already there is left alone, so the cursor stays where the user typed.
void showTextBox(QLineEdit* box, const Control& control) {
    const QString text = QString::fromStdString(control.text);
    if (box->text() != text) {
        const QSignalBlocker blocker(box);
        box->setText(text);
    }
    showState(box, control);
}

void showOption(QRadioButton* option, const OptionButton& state) {
    const QSignalBlocker blocker(option);
    option->setText(QString::fromStdString(state.caption));
    option->setChecked(state.selected);
    option->setVisible(state.visible);
    option->setEnabled(state.enabled);
}

void showScrollBar(QScrollBar* bar, const ScrollBar& state) {
    const QSignalBlocker blocker(bar);
    bar->setRange(state.low(), state.high());
    bar->setSingleStep(state.smallChange);
    bar->setPageStep(state.largeChange);
    bar->setValue(state.value);
    bar->setVisible(state.visible);
    bar->setEnabled(state.enabled);
}

void showToolButton(QAction* button, const Control& control) {
    button->setToolTip(QString::fromStdString(control.text));
    button->setVisible(control.visible);
    button->setEnabled(control.enabled);
}

}  // namespace brenvik::controlview
