#include "gfx/Simd.h"

#include <algorithm>
#include <atomic>

namespace pelwick {

namespace {

TSimdLevel Detect() {
#ifdef PELWICK_X86_SIMD
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return slAvx2;
    if (__builtin_cpu_supports("ssse3")) return slSsse3;
    return slSse2;  // every x86-64 processor has it
#else
    return slPortable;
#endif
}

// Read by the pixel loops of any thread; written only by tests between runs.
std::atomic<TSimdLevel>& Level() {
    static std::atomic<TSimdLevel> level{SupportedSimdLevel()};
    return level;
}

}  // namespace

TSimdLevel SupportedSimdLevel() {
    static const TSimdLevel Supported = Detect();
    return Supported;
}

TSimdLevel SimdLevel() {
    return Level().load(std::memory_order_relaxed);
}

std::vector<TSimdLevel> SupportedSimdLevels() {
    std::vector<TSimdLevel> levels;
    for (int l = slPortable; l <= SupportedSimdLevel(); ++l)
        levels.push_back(static_cast<TSimdLevel>(l));
    return levels;
}

TSimdLevel SetSimdLevel(TSimdLevel level) {
    return Level().exchange(std::min(level, SupportedSimdLevel()), std::memory_order_relaxed);
}

const char* SimdLevelName(TSimdLevel level) {
    switch (level) {
        case slPortable:
            return "portable";
        case slSse2:
            return "SSE2";
        case slSsse3:
            return "SSSE3";
        case slAvx2:
            return "AVX2";
    }
    return "?";
}

}  // namespace pelwick
