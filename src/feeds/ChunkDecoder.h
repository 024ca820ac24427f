#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace pelwick {

// Decodes a chunked HTTP body as it arrives, reporting every chunk with its size, so that
// progress can be shown chunk by chunk. The transport still finds the body's end itself.
class TChunkDecoder {
  public:
    std::function<void(std::int64_t size)> OnChunkBegin;
    std::function<void(std::string_view data, std::int64_t countInChunk)> OnData;
    std::function<void()> OnChunkEnd;

    // Returns false when the framing is malformed.
    bool Feed(std::string_view bytes);
    bool Finished() const { return state_ == sDone; }
    bool InChunk() const { return state_ == sData; }

  private:
    enum TState { sSize, sData, sDataEnd, sTrailer, sDone, sBroken };
    bool EndOfSizeLine();

    TState state_ = sSize;
    std::string line_;
    std::int64_t size_ = 0;
    std::int64_t done_ = 0;
};

}  // namespace pelwick
