#pragma once

#include <vector>

// The vector instruction sets the pixel loops may use. Each loop that has a vector version
// picks it at run time from SimdLevel(), which is the best the processor offers; tests lower
// it to exercise every version the machine can run, in every build (sanitizers included).
namespace pelwick {

enum TSimdLevel { slPortable, slSse2, slSsse3, slAvx2 };

// The level the loops use now.
TSimdLevel SimdLevel();
// The best level the processor runs.
TSimdLevel SupportedSimdLevel();
// Every level from slPortable up to the supported one.
std::vector<TSimdLevel> SupportedSimdLevels();
// Sets the level in use, at most the supported one; returns the previous level (tests).
TSimdLevel SetSimdLevel(TSimdLevel level);
const char* SimdLevelName(TSimdLevel level);

}  // namespace pelwick

// Vector versions are built where GCC or Clang target x86-64.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PELWICK_X86_SIMD 1
#define PELWICK_TARGET(isa) __attribute__((target(isa)))
#else
#define PELWICK_TARGET(isa)
#endif
