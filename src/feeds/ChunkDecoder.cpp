#include "feeds/ChunkDecoder.h"

#include <charconv>

namespace pelwick {

namespace {
constexpr size_t MaxLineLength = 4096;
}

bool TChunkDecoder::EndOfSizeLine() {
    std::string_view hex = line_;
    hex = hex.substr(0, hex.find_first_of("; \t"));
    std::int64_t size = 0;
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), size, 16);
    if (hex.empty() || ec != std::errc() || end != hex.data() + hex.size() || size < 0)
        return false;
    line_.clear();
    if (size == 0) {
        state_ = sTrailer;
        return true;
    }
    size_ = size;
    done_ = 0;
    state_ = sData;
    if (OnChunkBegin) OnChunkBegin(size);
    return true;
}

bool TChunkDecoder::Feed(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        switch (state_) {
            case sSize:
            case sDataEnd:
            case sTrailer: {
                const char c = bytes[i++];
                if (c == '\r') break;
                if (c != '\n') {
                    if (line_.size() >= MaxLineLength) return state_ = sBroken, false;
                    line_ += c;
                    break;
                }
                if (state_ == sDataEnd) {
                    if (!line_.empty()) return state_ = sBroken, false;
                    state_ = sSize;
                } else if (state_ == sTrailer) {
                    if (line_.empty()) state_ = sDone;
                    line_.clear();
                } else if (!line_.empty() && !EndOfSizeLine()) {
                    return state_ = sBroken, false;
                }
                break;
            }
            case sData: {
                const size_t take = size_t(std::min<std::int64_t>(size_ - done_, bytes.size() - i));
                done_ += std::int64_t(take);
                if (OnData) OnData(bytes.substr(i, take), done_);
                i += take;
                if (done_ == size_) {
                    state_ = sDataEnd;
                    if (OnChunkEnd) OnChunkEnd();
                }
                break;
            }
            case sDone:
                return true;  // anything after the last chunk belongs to no body
            case sBroken:
                return false;
        }
    }
    return state_ != sBroken;
}

}  // namespace pelwick
