#pragma once

#include <cstdint>
#include <functional>

namespace pelwick {

// Ends the process at once, without unwinding or freeing anything, like the saver's quit
// path expects. Tests install a handler that records the call instead.
void Halt(int exitCode);
using THaltHandler = std::function<void(int exitCode)>;
// Installs a handler for Halt and returns the previous one; an empty handler restores the
// real exit.
THaltHandler SetHaltHandler(THaltHandler handler);

// Blocks the calling thread for ms milliseconds (the saver's fade loops). Tests install a
// handler that records or skips the waits.
void SleepMs(int ms);
using TSleepHandler = std::function<void(int ms)>;
TSleepHandler SetSleepHandler(TSleepHandler handler);

// The process's random number generator: Randomize seeds it from the clock, RandSeed with a
// fixed value (tests), Random(n) draws uniformly from 0..n-1 (0 when n <= 0).
void Randomize();
void RandSeed(std::uint32_t seed);
int Random(int n);

}  // namespace pelwick
