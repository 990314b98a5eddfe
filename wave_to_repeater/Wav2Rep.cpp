#include "Wav2Rep.h"

#include <algorithm>

#include "Numbers.h"

namespace brenvik {

namespace {

ScrollBar scrollBar(int16_t low, int16_t high, int16_t smallStep, int16_t largeStep) {
    ScrollBar bar;
    bar.min = low;
    bar.max = high;
    bar.smallChange = smallStep;
    bar.largeChange = largeStep;
    return bar;
}

Control hidden(const std::string& text) { return Control{text, false, true}; }

}  // namespace

// The window as it is laid out, before any wave: the mono look with the right block hidden,
// the loop controls unusable until a wave is accepted.
Wav2Rep::Wav2Rep(AppGlobals& globals, Platform& platform)
    : m_globals(globals), m_platform(platform) {
    Text2.text = Platform::separator() + "LOOP";
    loopNumber.text = "1";
    Text1[3].text = "1";
    Text1[4].text = "4";
    tempoCntrl.enabled = false;
    LeftPitch = RightPitch = scrollBar(-2400, 1200, 1, 50);
    LeftPan = RightPan = scrollBar(-100, 100, 1, 10);
    RightPitch.visible = RightPan.visible = false;
    LeftPitch2.text = "0";
    RightPitch2 = hidden("0");
    LeftPan2.text = "Center";
    RightPan2 = hidden("Center");
    for (int k = 1; k <= 8; ++k) Option[k].caption = intToText((k - 1) % 4 + 1);
    Option[1].selected = true;
    Option[6].selected = true;
    Option[5].enabled = false;
    leftFrame.enabled = false;
    rightFrame.visible = false;
    LeftHeader.text = "Mono";
    RightHeader = hidden("Right Channel");
    r1 = hidden("Track:");
    r2 = hidden("Pan:");
    r3 = hidden("Pitch:");
    r4 = hidden("");
    rightBlock1 = hidden("");
    toolButton[1].text = "Open Normal Wave File";
    toolButton[2].text = "Save as Repeater Loop";
    toolButton[2].enabled = false;
    toolButton[3].visible = false;
    toolButton[4] = Control{"Cross Fade this Loop", false, false};
}

void Wav2Rep::Form_Load() {
    m_globals.beatsPerBar = 1;
    findFreeLoop();
}

// Buttons 3 (a separator) and 4 (cross-fade) have no action, even if they were shown.
void Wav2Rep::Toolbar1_ButtonClick(int index) {
    if (index == 1) openWave_Click();
    if (index == 2) saveLoop_Click();
}

// A scroll bar never holds a Value outside its range, and only a real change raises its
// change handling.
void Wav2Rep::changeValue(ScrollBar& bar, int16_t value, Handler handler) {
    value = std::clamp(value, bar.low(), bar.high());
    if (value == bar.value) return;
    bar.value = value;
    (this->*handler)();
}

void Wav2Rep::clampValue(ScrollBar& bar, Handler handler) { changeValue(bar, bar.value, handler); }

void Wav2Rep::setTempoValue(int16_t value) { changeValue(tempoCntrl, value, &Wav2Rep::tempoCntrl_Change); }
void Wav2Rep::setLeftPitch(int16_t value) { changeValue(LeftPitch, value, &Wav2Rep::LeftPitch_Change); }
void Wav2Rep::setRightPitch(int16_t value) { changeValue(RightPitch, value, &Wav2Rep::RightPitch_Change); }
void Wav2Rep::setLeftPan(int16_t value) { changeValue(LeftPan, value, &Wav2Rep::LeftPan_Change); }
void Wav2Rep::setRightPan(int16_t value) { changeValue(RightPan, value, &Wav2Rep::RightPan_Change); }

void Wav2Rep::setTempoMin(int16_t value) {
    tempoCntrl.min = value;
    clampValue(tempoCntrl, &Wav2Rep::tempoCntrl_Change);
}

void Wav2Rep::setTempoMax(int16_t value) {
    tempoCntrl.max = value;
    clampValue(tempoCntrl, &Wav2Rep::tempoCntrl_Change);
}

void Wav2Rep::selectOption(int index) {
    const int first = index <= 4 ? 1 : 5;
    for (int k = first; k < first + 4; ++k) Option[k].selected = (k == index);
    Option_Click(index);
}

int Wav2Rep::leftTrack() const {
    for (int k = 1; k <= 4; ++k)
        if (Option[k].selected) return k;
    return 1;
}

int Wav2Rep::rightTrack() const {
    for (int k = 5; k <= 8; ++k)
        if (Option[k].selected) return k - 4;
    return 2;
}

}  // namespace brenvik
