#include "QtFocusReturn.h"

namespace brenvik {

// The window's own focus child, not the application's focus widget: a dialog that has just
// closed (the folder chooser) leaves no window active until the desktop activates the main
// window again, and the focus child is what it then gets the focus back to.
FocusReturn::FocusReturn(QWidget* window) : m_focused(window->focusWidget()) {}

FocusReturn::~FocusReturn() {
    if (m_focused && m_focused->isEnabled() && m_focused->isVisible()) m_focused->setFocus();
}

}  // namespace brenvik
