#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelwick {

// Bytes held in memory with a read/write position, as downloads are written into and feeds are
// loaded from. Writing past the end grows the stream; reading stops at the end.
class TMemoryStream {
  public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

    std::size_t Size() const { return bytes_.size(); }
    // Truncates or extends (with zero bytes); the position is kept inside the new size.
    void SetSize(std::size_t size);
    std::size_t Position() const { return position_; }
    // A position past the end is allowed; the next write fills the gap with zero bytes.
    void SetPosition(std::size_t position) { position_ = position; }

    // Writes at the position and moves it forwards; returns the count written.
    std::size_t Write(const void* data, std::size_t count);
    std::size_t Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    // Reads up to count bytes at the position and moves it forwards; returns the count read.
    std::size_t Read(void* data, std::size_t count);

    // The bytes from the position to the end, without copying; valid until the next change.
    std::string_view Remaining() const;
    const std::string& Bytes() const { return bytes_; }
    void Clear();

    // Replaces the contents with a file's bytes and rewinds; raises EFileError.
    void LoadFromFile(const std::string& fileName);

  private:
    std::string bytes_;
    std::size_t position_ = 0;
};

}  // namespace pelwick
