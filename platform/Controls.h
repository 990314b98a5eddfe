#pragma once
// The state of a window's controls, kept apart from any widget so the handlers that work on them
// run the same in the window program, the command-line tool and the tests. The window program
// shows these states in real widgets and routes the user's actions back to the handlers.
#include <cstdint>
#include <string>

namespace brenvik {

// A label, text box, frame, shape or toolbar button: a caption or text, shown, usable.
struct Control {
    std::string text;
    bool visible = true;
    bool enabled = true;
};

// A scroll bar with a 16-bit Value. min may lie above max (the tempo bar puts its largest value
// at the top). Setting the value is the owner's job: only a real change raises its change
// handling.
struct ScrollBar {
    int16_t value = 0;
    int16_t min = 0;
    int16_t max = 32767;
    int16_t smallChange = 1;
    int16_t largeChange = 1;
    bool visible = true;
    bool enabled = true;

    int16_t low() const { return min < max ? min : max; }
    int16_t high() const { return min < max ? max : min; }
};

// An option button in an exclusive group. Selecting one, by the user or the program, raises its
// click handling.
struct OptionButton {
    std::string caption;
    bool selected = false;
    bool visible = true;
    bool enabled = true;
};

}  // namespace brenvik
