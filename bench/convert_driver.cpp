// The conversion benchmark's driver: converts one audio file into a 44.1 kHz 16-bit wave through
// the core, as brenvik-cli will, and prints what it wrote. bench/convert_bench.py times it.
#include <iostream>

#include "AudioConversion.h"
#include "Files.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: convert_driver SOURCE TARGET.wav\n";
        return 2;
    }
    brenvik::Files files;
    const brenvik::ConversionResult result = brenvik::convertAudio({argv[1], argv[2], {}}, files, {});
    if (result.outcome == brenvik::ConversionResult::Outcome::Failed) {
        std::cerr << result.message << '\n';
        return 1;
    }
    std::cout << result.frames << " frames\n";
    return 0;
}
