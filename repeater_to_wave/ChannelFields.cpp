#include "ChannelFields.h"

#include "Checked.h"
#include "Numbers.h"
#include "Rep2Wav.h"

namespace brenvik::r2w {

std::string bytesText(int32_t count) { return intToText(count) + " bytes"; }

int32_t fieldBytes(const Control& field) {
    return checkedCast<int32_t>(roundHalfEven(leadingNumber(field.text)));
}

void showTrack(ChannelSlot& slot, const std::string& path, const TrackPath& where,
               const TrackSizes& sizes) {
    slot.File.text = path;
    slot.Loop.text = where.loopName;
    slot.Track.text = where.trackName;
    slot.Pre.text = bytesText(sizes.pre);
    slot.Audio.text = bytesText(sizes.audio);
    slot.Post.text = bytesText(sizes.post);
    slot.Total.text = bytesText(sizes.total);
}

void emptySlot(ChannelSlot& slot) {
    for (Control* field : slot.fields()) field->text.clear();
}

void showSlot(ChannelSlot& slot, bool visible) {
    for (Control* field : slot.fields()) field->visible = visible;
}

bool slotSizesAcceptable(const ChannelSlot& slot) {
    // Compared as the numbers the fields show, so no size can overflow here.
    const double pre = leadingNumber(slot.Pre.text);
    const double audio = leadingNumber(slot.Audio.text);
    const double post = leadingNumber(slot.Post.text);
    const double total = leadingNumber(slot.Total.text);
    return pre >= 0 && audio >= 0 && post >= 0 && total >= 0 && total >= audio;
}

}  // namespace brenvik::r2w
