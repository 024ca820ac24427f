#pragma once

#include <cstddef>
#include <string>

namespace pelwick {

// Bytes in memory with a read/write position.
class TMemoryStream {
  public:
    void Write(const void* data, std::size_t size) {
        const char* p = static_cast<const char*>(data);
        if (position_ > bytes_.size()) bytes_.resize(position_);
        bytes_.replace(position_, std::min(size, bytes_.size() - position_), p, size);
        position_ += size;
    }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Position() const { return position_; }
    void SetPosition(std::size_t position) { position_ = position; }
    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
    std::size_t position_ = 0;
};

}  // namespace pelwick
