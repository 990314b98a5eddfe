#pragma once
// The windows' dark, saturated backgrounds (maroon, teal, olive) swallow the style's own faint
// focus frame. A window that shows a focus ring gets a clear mark instead: a yellow band with a
// black edge drawn on top around whichever of its controls has the keyboard focus. The controls
// keep their own look; the ring takes no mouse input and no focus.
class QWidget;

namespace brenvik {

// The ring lives as long as `window` and follows the focus among the window's controls.
void showFocusRing(QWidget* window);

}  // namespace brenvik
