#pragma once

#include <cstdint>
#include <vector>

#include "gfx/RandomSequence.h"

namespace pelwick {

// Random order without repeats: in each round every picture is shown once, in an order
// drawn at random; the next round is drawn anew and never starts with the picture that
// ended the last one. Pictures that join the list during a round join that round. Its
// numbers come from a sequence of its own, so the rest of the program draws as it would
// without it.
class TShuffleOrder {
  public:
    explicit TShuffleOrder(std::uint64_t seed) : random_(seed) {}

    // The list now holds count pictures (never fewer than before); the new ones join the
    // current round.
    void Grow(int count);
    // The list was rebuilt: newIndexOf gives for each picture of the old list its index in
    // the new one of count pictures, or -1 when it left. The round goes on: what it has
    // shown stays shown, what it has not stays to come, and pictures new to the list join
    // it.
    void Remap(const std::vector<int>& newIndexOf, int count);
    // The index of the next picture; -1 while the list is empty.
    int Next();

    int Size() const { return size_; }
    TRandomSequence& Random() { return random_; }

  private:
    void StartRound();

    TRandomSequence random_;
    // The pictures of this round not yet shown.
    std::vector<std::uint32_t> remaining_;
    int size_ = 0;
    int last_ = -1;
};

}  // namespace pelwick
