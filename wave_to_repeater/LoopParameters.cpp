// The loop parameters: tempo position, bars and beats, pitch, pan and the track of each channel.
#include <algorithm>

#include "Checked.h"
#include "Numbers.h"
#include "Wav2Rep.h"

namespace brenvik {

namespace {

constexpr int kLongestBar = 7;  // beats per bar run 1 to 7

}  // namespace

// Every new position starts over with one beat per bar; beatsPerBar is kept, so the next
// ScrollBeats click carries on from the last choice.
void Wav2Rep::tempoCntrl_Change() {
    const int16_t v = tempoCntrl.value;
    const int16_t beats = checkedAdd<int16_t>(v, 1);  // a 16-bit control value plus one
    Text1[1].text = oneDecimal(tempoTable.at(static_cast<size_t>(v)));
    Text1[2].text = intToText(beats);
    Text1[3].text = "1";
    Text1[4].text = "4";
    barChoices.fill(0.0f);
    for (int b = 1; b <= kLongestBar; ++b)
        if (beats % b == 0) barChoices[static_cast<size_t>(b - 1)] = static_cast<float>(beats / b);
}

void Wav2Rep::ScrollBeats_Click() {
    // Before any tempo change every entry is 0 and there is nothing to step to.
    if (std::all_of(barChoices.begin(), barChoices.end(), [](float bars) { return bars == 0; })) return;
    int16_t& beatsPerBar = m_globals.beatsPerBar;
    do {
        beatsPerBar = static_cast<int16_t>(beatsPerBar + 1);
        if (beatsPerBar > kLongestBar || beatsPerBar < 1) beatsPerBar = 1;
    } while (barChoices[static_cast<size_t>(beatsPerBar - 1)] == 0);
    Text1[2].text = shortestGeneral(barChoices[static_cast<size_t>(beatsPerBar - 1)]);
    Text1[3].text = intToText(beatsPerBar);
    Text1[4].text = beatsPerBar > 5 ? "8" : "4";  // six and seven beats go in eighths
}

void Wav2Rep::showPitch(const ScrollBar& bar, Control& display) {
    display.text = shortestGeneral(bar.value / 100.0);
}

void Wav2Rep::showPan(const ScrollBar& bar, Control& display) {
    if (bar.value < 0)
        display.text = "L " + intToText(bar.value);
    else if (bar.value > 0)
        display.text = "R " + intToText(bar.value);
    else
        display.text = "Center";
}

void Wav2Rep::LeftPitch_Change() { showPitch(LeftPitch, LeftPitch2); }
void Wav2Rep::RightPitch_Change() { showPitch(RightPitch, RightPitch2); }
void Wav2Rep::LeftPan_Change() { showPan(LeftPan, LeftPan2); }
void Wav2Rep::RightPan_Change() { showPan(RightPan, RightPan2); }

// Options k and k + 4 stand for the same track: whatever one channel holds is closed to the other.
void Wav2Rep::Option_Click(int index) {
    if (index < 1 || index > 8) return;
    const bool left = index <= 4;
    const int otherFirst = left ? 5 : 1;
    for (int k = otherFirst; k < otherFirst + 4; ++k) Option[k].enabled = true;
    if (Option[index].selected) Option[left ? index + 4 : index - 4].enabled = false;
}

void Wav2Rep::l2_DblClick() { setLeftPan(0); }
void Wav2Rep::l3_DblClick() { setLeftPitch(0); }
void Wav2Rep::r2_DblClick() { setRightPan(0); }
void Wav2Rep::r3_DblClick() { setRightPitch(0); }

}  // namespace brenvik
