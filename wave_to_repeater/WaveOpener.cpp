// The Open command: which waves can become a loop, and what an accepted wave sets up.
#include <initializer_list>

#include "ByteSource.h"
#include "Numbers.h"
#include "RoutineError.h"
#include "Wav2Rep.h"
#include "WaveHeader.h"
#include "WaveVerdict.h"

namespace brenvik {

void Wav2Rep::openWave_Click() {
    try {
        Diag1.initialDir = m_globals.initWaveDir;
        Diag1.defaultExt = ".wav";
        Diag1.filter = ".wav files (*.wav)|*.wav";
        Diag1.filterIndex = 1;
        m_platform.showOpenDialog(Diag1);
    } catch (const std::exception&) {
        return;  // a dialog that cannot be shown ends the command quietly
    }
    // A cancelled dialog keeps its last name, so the previous file is opened again.
    fileOpeing();
}

void Wav2Rep::fileOpeing() {
    const std::string fileName = Diag1.fileName;
    try {
        if (!m_platform.fileExists(fileName)) {
            m_platform.message("File does not exist!", MessageButtons::Ok, MessageIcon::Critical);
            return;
        }
        OpenerVerdict verdict;
        {
            FileSource source(fileName);
            verdict = openerVerdict(source);
        }  // the file is closed here: nothing below reads it again
        // Only a complete "data" tag and size make a wave; a walk that ran off the file does not.
        if (verdict.outcome == OpenerVerdict::Outcome::WalkFailed) throw RoutineError("no data chunk");
        waveChannels = verdict.format.channels;
        waveSampleRate = verdict.format.sampleRate;
        if (waveChannels == 1) monoLayout();
        if (waveChannels == 2) stereoLayout();
        if (verdict.outcome == OpenerVerdict::Outcome::WrongRate ||
            verdict.outcome == OpenerVerdict::Outcome::WrongBits) {
            m_platform.message(verdict.message);
            return;
        }
        acceptWave(verdict, fileName);
    } catch (const std::exception&) {
        m_platform.setBusy(false);
        m_platform.message(kOpenerErrorMessage, MessageButtons::Ok, MessageIcon::Critical);
    }
}

void Wav2Rep::monoLayout() {
    m_globals.waveMode = "mono";
    LeftHeader.text = "Mono";
    for (Control* c : {&RightHeader, &rightFrame, &RightPan2, &RightPitch2, &rightBlock1}) c->visible = false;
    RightPan.visible = RightPitch.visible = false;
    for (int k = 1; k <= 4; ++k) Option[k].enabled = true;  // a mono wave may go to any track
    setRightPan(0);
    RightPan2.text = "Center";
    setRightPitch(0);
    RightPitch2.text = "0";
    for (Control* c : {&r1, &r2, &r3, &r4}) c->visible = false;
}

// The right channel goes to track 2, or to track 1 when the left one is on track 2; each
// channel's options lose the track the other channel holds.
void Wav2Rep::stereoLayout() {
    m_globals.waveMode = "stereo";
    LeftHeader.text = "Left Channel";
    Option[2].enabled = false;
    for (Control* c : {&RightHeader, &rightFrame, &RightPan2, &RightPitch2, &rightBlock1}) c->visible = true;
    RightPan.visible = RightPitch.visible = true;
    for (int k = 5; k <= 8; ++k) Option[k].enabled = true;
    selectOption(6);
    if (Option[1].selected) Option[5].enabled = false;
    if (Option[2].selected) {
        Option[6].enabled = false;
        Option[6].selected = false;
        selectOption(5);
    }
    if (Option[3].selected) Option[7].enabled = false;
    if (Option[4].selected) Option[8].enabled = false;
    for (Control* c : {&r1, &r2, &r3, &r4}) c->visible = true;
}

void Wav2Rep::acceptWave(const OpenerVerdict& verdict, const std::string& fileName) {
    for (Control* c : {&leftFrame, &rightFrame}) c->enabled = true;
    for (ScrollBar* b : {&LeftPitch, &RightPitch, &LeftPan, &RightPan, &tempoCntrl}) b->enabled = true;
    browseLoop.enabled = true;
    toolButton[2].enabled = true;

    // No channels, or a data size that gives no tempo table: only now, after the enabling.
    if (!verdict.accepted()) throw RoutineError("no tempo table");
    const int32_t bytesPerChannel = verdict.bytesPerChannel;
    maxBeats = verdict.maxBeats;

    // Entry i - 1 is the tempo of a loop of i beats; each step is single precision, as the
    // Repeater's tempo field expects.
    tempoTable.assign(static_cast<size_t>(maxBeats) + 1, 0.0f);
    const double minutes = static_cast<double>(bytesPerChannel) / 2 / wave::kSampleRate / 60;
    for (int i = 1; i <= maxBeats; ++i) {
        const float q = static_cast<float>(minutes / i);
        tempoTable[static_cast<size_t>(i - 1)] = static_cast<float>(1.0 / static_cast<double>(q));
    }

    defaultTempoIndex = static_cast<int16_t>(maxBeats / 2);
    Text1[1].text = oneDecimal(tempoTable.at(static_cast<size_t>(defaultTempoIndex)));
    Text1[2].text = intToText(defaultTempoIndex + 1);
    setTempoMax(0);
    setTempoMin(maxBeats);
    tempoCntrl.largeChange = 10;
    setTempoValue(defaultTempoIndex);
    LoopFile.text = fileName;
}

}  // namespace brenvik
