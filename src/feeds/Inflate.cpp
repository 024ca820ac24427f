#include "feeds/Inflate.h"

#include <zlib.h>

#include <cstring>
#include <string>

#include "app/Strings.h"

namespace pelwick {

struct TInflater::TState {
    z_stream z{};
    bool open = false;
    ~TState() {
        if (open) inflateEnd(&z);
    }
    bool Open(int windowBits) {
        if (open) inflateEnd(&z);
        std::memset(&z, 0, sizeof z);
        open = inflateInit2(&z, windowBits) == Z_OK;
        return open;
    }
};

TInflater::TInflater(TEncoding encoding)
    : state_(std::make_unique<TState>()), encoding_(encoding) {}

TInflater::~TInflater() = default;

std::unique_ptr<TInflater> TInflater::For(std::string_view contentEncoding) {
    const std::string value = LowerAscii(TrimBlanks(contentEncoding));
    if (value == "gzip" || value == "x-gzip") return std::make_unique<TInflater>(ceGzip);
    if (value == "deflate") return std::make_unique<TInflater>(ceDeflate);
    return nullptr;
}

bool TInflater::Feed(std::string_view data, const std::function<bool(std::string_view)>& out) {
    if (finished_ || data.empty()) return true;
    if (!started_) {
        started_ = true;
        // A zlib stream starts with a header whose first two bytes are a multiple of 31.
        const auto b0 = static_cast<unsigned char>(data[0]);
        raw_ =
            encoding_ == ceDeflate && (data.size() < 2 || (b0 & 0x0F) != 8 ||
                                       ((b0 << 8) | static_cast<unsigned char>(data[1])) % 31 != 0);
        const int bits = encoding_ == ceGzip ? 15 + 16 : raw_ ? -15 : 15;
        if (!state_->Open(bits)) return false;
    }
    z_stream& z = state_->z;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    char buffer[16384];
    while (z.avail_in > 0 || z.avail_out == 0) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        const int rc = inflate(&z, Z_NO_FLUSH);
        const std::size_t produced = sizeof buffer - z.avail_out;
        if (produced > 0 && !out(std::string_view(buffer, produced))) return false;
        if (rc == Z_STREAM_END) {
            finished_ = true;  // anything after the stream is not body
            return true;
        }
        if (rc != Z_OK) return rc == Z_BUF_ERROR && z.avail_in == 0;
    }
    return true;
}

}  // namespace pelwick
