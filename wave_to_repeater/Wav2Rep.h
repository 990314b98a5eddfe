#pragma once
// The ".WAV to Repeater" window without its widgets: every control's state and every handler of
// the window (open a wave, the loop parameters, the destination and the save), working on the
// controls and the program's globals through the platform. The Qt window shows this state and
// routes the user's actions here; the command-line tool and the tests drive it directly.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "AppGlobals.h"
#include "Controls.h"
#include "LoopWriter.h"
#include "Platform.h"

namespace brenvik {

struct OpenerVerdict;

class Wav2Rep {
public:
    Wav2Rep(AppGlobals& globals, Platform& platform);

    // ---- controls, by the names the window gives them ----
    Control LoopFile;                // path of the accepted wave
    Control loopName;                // destination folder
    Control Text2;                   // the fixed "/LOOP" between folder and number
    Control loopNumber;              // at most 3 characters
    std::array<Control, 5> Text1;    // 1 Tempo, 2 Bars, 3 Beats, 4 Division (index 0 unused)
    ScrollBar tempoCntrl;
    ScrollBar LeftPitch, RightPitch, LeftPan, RightPan;
    Control LeftPitch2, RightPitch2, LeftPan2, RightPan2;
    std::array<OptionButton, 9> Option;  // Option[1..4] left group, Option[5..8] right group
    Control leftFrame, rightFrame;
    Control LeftHeader, RightHeader;
    Control r1, r2, r3, r4, rightBlock1;
    Control browseLoop;
    std::array<Control, 5> toolButton;  // Toolbar1 buttons 1..4 (index 0 unused)
    bool windowEnabled = true;
    FileDialog Diag1;

    // ---- window state ----
    int16_t waveChannels = 0;
    int32_t waveSampleRate = 0;
    int16_t maxBeats = 0;
    int16_t defaultTempoIndex = 0;
    std::vector<float> tempoTable;      // indices 0..maxBeats
    std::array<float, 8> barChoices{};  // entry b-1: bars when a bar holds b beats
    LoopWriteResult lastSave;           // what the last Save did, for callers that must know

    // ---- handlers ----
    void Form_Load();
    void Toolbar1_ButtonClick(int index);
    void openWave_Click();
    void fileOpeing();
    void saveLoop_Click();
    void fileSaving();
    void findFreeLoop();
    void browseLoop_Click();

    void tempoCntrl_Change();
    void ScrollBeats_Click();
    void LeftPitch_Change();
    void RightPitch_Change();
    void LeftPan_Change();
    void RightPan_Change();
    void Option_Click(int index);  // 1..8
    void l2_DblClick();            // LeftPan to 0
    void l3_DblClick();            // LeftPitch to 0
    void r2_DblClick();            // RightPan to 0
    void r3_DblClick();            // RightPitch to 0

    // ---- setting values as the user or the program does: a scroll bar's change handling runs
    // only when its Value really changes; selecting an option runs its click handling ----
    void setTempoValue(int16_t value);
    void setLeftPitch(int16_t value);
    void setRightPitch(int16_t value);
    void setLeftPan(int16_t value);
    void setRightPan(int16_t value);
    void selectOption(int index);  // 1..8: selects it, clears its group, runs Option_Click
    // The tempo bar's ends: a range that no longer holds the Value pulls it in, and that change
    // raises the change handling like any other.
    void setTempoMin(int16_t value);
    void setTempoMax(int16_t value);

    // The track (1 to 4) chosen for the mono or left channel, and for the right channel.
    int leftTrack() const;
    int rightTrack() const;
    // What the writer takes from this window.
    LoopRequest loopRequest() const;

    AppGlobals& globals() { return m_globals; }
    Platform& platform() { return m_platform; }

private:
    using Handler = void (Wav2Rep::*)();
    void changeValue(ScrollBar& bar, int16_t value, Handler handler);
    void clampValue(ScrollBar& bar, Handler handler);
    void showPitch(const ScrollBar& bar, Control& display);
    void showPan(const ScrollBar& bar, Control& display);
    void monoLayout();
    void stereoLayout();
    void acceptWave(const OpenerVerdict& verdict, const std::string& fileName);

    AppGlobals& m_globals;
    Platform& m_platform;
};

}  // namespace brenvik
