#include "Messages.h"

#include "LoopLayout.h"
#include "Numbers.h"

namespace brenvik::message {

std::string wrongSampleRate(int32_t sampleRate) {
    return "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of " +
           shortestGeneral(static_cast<double>(sampleRate) / 1000.0) + "kHz";
}

std::string wrongBitsPerSample(int16_t bitsPerSample) {
    return "Repeater supports 16 bit audio only, this file is " + intToText(bitsPerSample) + " bit";
}

std::string destinationMissing(const std::string& destination) {
    return "Folder: " + destination + " does not exist or drive not ready";
}

std::string loopTooLong() {
    return "Loop is too long for the Repeater (at most " + intToText(loop::kMaxClusters) +
           " clusters per track)";
}

std::string exportReplaces(const std::string& path) { return path + " already exists. Overwrite?"; }

}  // namespace brenvik::message
