#include "Rep2Wav.h"

#include <exception>

#include "ChannelFields.h"

namespace brenvik {

namespace {

constexpr std::array<const char*, 8> kCaptions{
    "", "File:", "Loop:", "Track:", "Pre-Buffer:", "Audio Data:", "Post-Buffer:", "Total Size:"};

// Tool tips by button index; 3 and 6 are separators.
constexpr std::array<const char*, 8> kToolTips{"",
                                                "Open Repeater Wave File",
                                                "Remove Gaps and Save",
                                                "",
                                                "Mono Mode",
                                                "Stereo Mode",
                                                "",
                                                "Cross Fade this Wave"};

}  // namespace

Rep2Wav::Rep2Wav(AppGlobals& globals, Platform& platform)
    : m_globals(globals), m_platform(platform) {
    // The window starts in mono mode with empty fields and the right column hidden; the mode
    // and channel globals belong to the main window's start-up.
    LeftHeader.text = "Mono";
    RightHeader.text = "Right Channel";
    RightHeader.visible = false;
    r2w::showSlot(right, false);
    for (size_t i = 1; i < kCaptions.size(); ++i) {
        l[i].text = kCaptions[i];
        r[i].text = kCaptions[i];
        r[i].visible = false;
    }
    for (size_t i = 1; i < kToolTips.size(); ++i) toolButton[i].text = kToolTips[i];
    // Nothing ever shows the last separator and the cross-fade button.
    toolButton[6].visible = false;
    toolButton[kCrossFadeButton].visible = false;
    toolButton[kCrossFadeButton].enabled = false;
}

void Rep2Wav::Toolbar1_ButtonClick(int index) {
    try {
        switch (index) {
        case kOpenButton: Open_Click(); break;
        case kSaveButton: Save_Click(); break;
        case kMonoButton: monoMode(); break;
        case kStereoButton: stereoMode(); break;
        default: break;  // separators and the cross-fade button do nothing
        }
    } catch (const std::exception&) {
        // A failure inside the click handling ends the click without a message.
    }
}

}  // namespace brenvik
