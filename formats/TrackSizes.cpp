#include "TrackSizes.h"

#include <array>

#include "ByteOrder.h"
#include "Checked.h"
#include "LoopDescription.h"
#include "WaveHeader.h"

namespace brenvik {

static_assert(kStartFieldOffset == loop::ldf::recordBase(1) + loop::ldf::kStartSector);
static_assert(kEndFieldOffset == loop::ldf::recordBase(1) + loop::ldf::kEndSector);
static_assert(kSectorCountOffset == loop::ldf::tableBase(1) + loop::ldf::kTableSectors);
static_assert(kTotalFieldOffset == wave::kDataSizeOffset);

TrackInputs readTrackInputs(ByteSource& description, ByteSource& track) {
    std::array<uint8_t, 1> start{};
    std::array<uint8_t, 2> end{};
    std::array<uint8_t, 3> sectors{};
    std::array<uint8_t, 4> total{};
    description.readZeroFilled(kStartFieldOffset, start);
    description.readZeroFilled(kEndFieldOffset, end);
    description.readZeroFilled(kSectorCountOffset, sectors);
    track.readZeroFilled(kTotalFieldOffset, total);
    return TrackInputs{static_cast<int8_t>(start[0]),
                       loop::endSectorOfFields(readLe16(end.data()), loop::readInt24(sectors.data())),
                       readLeS32(total.data())};
}

int32_t preBufferSectors(int8_t start) {
    // The rows are taken in this order, the first match wins; together they cover every byte.
    struct Row {
        int low, high, add;
    };
    static constexpr std::array<Row, 8> kRows{{{97, 127, -64},
                                               {65, 96, -32},
                                               {33, 64, 0},
                                               {0, 32, 32},
                                               {-32, -1, 64},
                                               {-64, -33, 96},
                                               {-96, -65, 128},
                                               {-128, -97, 160}}};
    for (const Row& row : kRows)
        if (start >= row.low && start <= row.high) return start + row.add;
    return 0;  // not reached: the rows cover -128..127
}

TrackSizes deriveTrackSizes(int8_t start, int32_t end, int32_t total) {
    TrackSizes sizes;
    const int32_t sectors = checkedAdd<int32_t>(checkedSub<int32_t>(end, start), 1);
    sizes.audio = checkedMul<int32_t>(sectors, 512);
    sizes.pre = checkedMul<int32_t>(preBufferSectors(start), 512);
    sizes.post = checkedSub<int32_t>(checkedSub<int32_t>(total, sizes.audio), sizes.pre);
    sizes.total = total;
    return sizes;
}

bool sizesAcceptable(const TrackSizes& s) {
    return s.pre >= 0 && s.audio >= 0 && s.post >= 0 && s.total >= 0 && s.total >= s.audio;
}

}  // namespace brenvik
