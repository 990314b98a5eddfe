#pragma once
// A window that stops taking input while it works (a save, an export) loses its keyboard focus:
// Qt takes the focus from a control when the control is disabled, and afterwards hands it to
// whichever window the platform activates next. Held for the length of such a command, this puts
// the focus back on the control of `window` that had it, once that control takes input again.
#include <QPointer>
#include <QWidget>

namespace brenvik {

class FocusReturn {
public:
    explicit FocusReturn(QWidget* window);
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> m_focused;
};

}  // namespace brenvik
