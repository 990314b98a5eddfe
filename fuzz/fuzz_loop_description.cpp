// The loopinfo.ldf decoder of `brenvik-cli info` over any bytes (a short file reads as padded
// with zeros), and the check triples: once stored, both verify.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "LoopDescription.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    brenvik::loop::Description description{};
    std::copy_n(data, std::min(size, description.size()), description.begin());
    (void)brenvik::loop::decodeDescription(description);
    brenvik::loop::storeCheckTriples(description);
    const auto checks = brenvik::loop::verifyCheckTriples(description);
    if (!checks.triple1 || !checks.triple2) std::abort();
    return 0;
}
