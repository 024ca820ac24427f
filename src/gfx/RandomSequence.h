#pragma once

#include <cstdint>

namespace pelwick {

// A small uniform generator of our own. The patterns drawn by chance (ragged shreds,
// speckles, squares) and the choice of a random transition style take their numbers from
// one of these, never from the process's generator, whose sequence orders the pictures.
// The same seed gives the same numbers, which makes frames reproducible.
class TRandomSequence {
  public:
    explicit TRandomSequence(std::uint64_t seed = 0) : state_(seed) {}

    // Uniform in 0..n-1; 0 when n <= 0.
    int Next(int n) {
        if (n <= 0) return 0;
        return static_cast<int>(((NextBits() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
    }

    void Seed(std::uint64_t seed) { state_ = seed; }

  private:
    // splitmix64: every seed, 0 included, starts a full-period sequence.
    std::uint64_t NextBits() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    std::uint64_t state_;
};

}  // namespace pelwick
