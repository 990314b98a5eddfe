// Mono and stereo mode of the Repeater-to-wave window, and the channel an open fills.
#include "ChannelFields.h"
#include "Rep2Wav.h"

namespace brenvik {

void Rep2Wav::monoMode() {
    // The left channel stays loaded and becomes the mono channel; the right one is forgotten.
    m_globals.repMode = "mono";
    m_globals.repChannel = "left";
    LeftHeader.text = "Mono";
    RightHeader.visible = false;
    r2w::showSlot(right, false);
    r2w::emptySlot(right);
    for (size_t i = 1; i < r.size(); ++i) r[i].visible = false;
}

void Rep2Wav::stereoMode() {
    // repChannel keeps its value: the next open goes where the channel dialog last said.
    m_globals.repMode = "stereo";
    LeftHeader.text = "Left Channel";
    RightHeader.visible = true;
    r2w::showSlot(right, true);
    for (size_t i = 1; i < r.size(); ++i) r[i].visible = true;
}

void Rep2Wav::chanSelect() {
    // The dialog opens with "Left Channel" selected every time; only OK changes the channel.
    const std::optional<Channel> choice = m_platform.chooseChannel();
    if (!choice) return;
    m_globals.repChannel = *choice == Channel::Left ? "left" : "right";
}

}  // namespace brenvik
