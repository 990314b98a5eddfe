#pragma once
// The channel fields hold the opened track's sizes as text ("16384 bytes"); the saver and the
// check read the numbers back from that text.
#include <cstdint>
#include <string>

#include "Controls.h"
#include "TrackPath.h"
#include "TrackSizes.h"

namespace brenvik {
struct ChannelSlot;
}

namespace brenvik::r2w {

// Plain decimal, a leading minus when negative, then " bytes".
std::string bytesText(int32_t count);

// The leading number of a size field as a signed 32-bit count. Throws RoutineError when it
// does not fit.
int32_t fieldBytes(const Control& field);

// Fills all seven fields of one channel from an open.
void showTrack(ChannelSlot& slot, const std::string& path, const TrackPath& where,
               const TrackSizes& sizes);

void emptySlot(ChannelSlot& slot);
void showSlot(ChannelSlot& slot, bool visible);

// A loaded channel's sizes are acceptable: none negative, and the audio fits in the total.
bool slotSizesAcceptable(const ChannelSlot& slot);

}  // namespace brenvik::r2w
