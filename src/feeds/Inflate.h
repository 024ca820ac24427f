#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace pelwick {

// Decodes a body sent with Content-Encoding gzip or deflate, piece by piece as it arrives.
// "deflate" is read as the zlib format it names, and as bare deflate data when a server sends
// that instead.
class TInflater {
  public:
    enum TEncoding { ceGzip, ceDeflate };

    explicit TInflater(TEncoding encoding);
    ~TInflater();
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;

    // The encoding a Content-Encoding value names, or nullptr for identity and anything
    // unknown.
    static std::unique_ptr<TInflater> For(std::string_view contentEncoding);

    // Decodes data; every decoded piece goes to out (whose false stops the decoding). False
    // when the data is not in the encoding or out stopped it.
    bool Feed(std::string_view data, const std::function<bool(std::string_view)>& out);
    // Whether the compressed stream has come to its end.
    bool Finished() const { return finished_; }

  private:
    struct TState;
    std::unique_ptr<TState> state_;
    TEncoding encoding_;
    bool started_ = false, raw_ = false, finished_ = false;
};

}  // namespace pelwick
