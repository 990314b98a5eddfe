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
    std::array<Control*, 7> fields() { return {&File, &Loop, &Track, &Pre, &Audio, &Post, &Total}; }
};

class Rep2Wav {
public:
    Rep2Wav(AppGlobals& globals, Platform& platform);

    // Toolbar1 button indices.
    static constexpr int kOpenButton = 1;
    static constexpr int kSaveButton = 2;
    static constexpr int kMonoButton = 4;
    static constexpr int kStereoButton = 5;
    static constexpr int kCrossFadeButton = 7;

    // ---- controls, by the names the window gives them ----
    Control LeftHeader, RightHeader;
    ChannelSlot left, right;              // LeftFile.. and RightFile..
    std::array<Control, 8> l;             // l[1..7]: the left column's captions
    std::array<Control, 8> r;             // r[1..7]: the right column's captions
    std::array<Control, 8> toolButton;    // Toolbar1 buttons 1..7 (index 0 unused); text = tool tip
    bool windowEnabled = true;
    FileDialog Diag1;

    // ---- handlers ----
    void Toolbar1_ButtonClick(int index);
    void Open_Click();
    // Throws RoutineError when a file cannot be read or a size leaves the 32-bit range; the
    // open command ends silently then.
    void fileOpening();
    bool Validate();
    void clearFields();
    void Save_Click();
    void fileSaving();
    void monoMode();    // toolbar button 4
    void stereoMode();  // toolbar button 5
    // ChanSelect, shown modally: OK sets repChannel, its close box leaves it as it was.
    void chanSelect();

    AppGlobals& globals() { return m_globals; }
    Platform& platform() { return m_platform; }

private:
    AppGlobals& m_globals;
    Platform& m_platform;
};

}  // namespace brenvik
