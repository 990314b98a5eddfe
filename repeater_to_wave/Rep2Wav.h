#pragma once
// The "Repeater to .WAV" window without its widgets: the two channel slots, the mode switch and
// the open and save commands, working on the controls and the program's globals through the
// platform. The Qt window shows this state and routes the user's actions here; the command-line
// tool and the tests drive it directly.
#include <array>
#include <cstdint>
#include <string>

#include "AppGlobals.h"
#include "Controls.h"
#include "Platform.h"

namespace brenvik {

// The seven fields of one channel: File, Loop, Track, Pre, Audio, Post, Total.
struct ChannelSlot {
    Control File, Loop, Track, Pre, Audio, Post, Total;
    bool loaded() const { return !File.text.empty(); }
};

class Rep2Wav {
public:
    Rep2Wav(AppGlobals& globals, Platform& platform);

    // ---- controls, by the names the window gives them ----
    Control LeftHeader, RightHeader;
    ChannelSlot left, right;              // LeftFile.. and RightFile..
    std::array<Control, 8> r;             // r[1..7]: the right column's captions
    std::array<Control, 8> toolButton;    // Toolbar1 buttons 1..7 (index 0 unused)
    bool windowEnabled = true;
    FileDialog Diag1;

    // ---- handlers ----
    void Toolbar1_ButtonClick(int index);
    void Open_Click();
    void fileOpening();
    bool Validate();
    void clearFields();
    void Save_Click();
    void fileSaving();
    void monoMode();    // toolbar button 4
    void stereoMode();  // toolbar button 5

    AppGlobals& globals() { return m_globals; }
    Platform& platform() { return m_platform; }

private:
    AppGlobals& m_globals;
    Platform& m_platform;
};

}  // namespace brenvik
