// The tempo benchmark's driver: finds the tempo of each wave named, as the windows and
// brenvik-cli's companion find it, and prints one line a wave: the path, the tempo and beat
// count found (or "none") and the seconds it took. bench/tempo_bench.py runs it.
#include <chrono>
#include <cstdio>

#include "WaveTempo.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const auto found = brenvik::tempo::estimateWaveTempo(argv[i]);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (found)
            std::printf("%s\t%.3f\t%d\t%.2f\t%.4f\n", argv[i], found->beatsPerMinute, found->beats,
                        found->confidence, took.count());
        else
            std::printf("%s\tnone\t0\t0\t%.4f\n", argv[i], took.count());
    }
    return 0;
}
