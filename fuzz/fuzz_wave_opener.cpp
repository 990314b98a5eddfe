// The chunk walk and the wave opener's decisions over any bytes: no crash, no hang, no
// allocation from a size field, and a verdict that agrees with itself.
#include <cstdint>
#include <cstdlib>

#include "ByteSource.h"
#include "WaveVerdict.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    brenvik::MemorySource source({data, size});
    const brenvik::OpenerVerdict verdict = brenvik::openerVerdict(source);
    // An accepted file has a message-free verdict; every refusal carries its message.
    if (verdict.accepted() != verdict.message.empty()) std::abort();
    if (verdict.accepted() && verdict.maxBeats < 0) std::abort();
    return 0;
}
