#include "feeds/MemoryStream.h"

#include <cstring>

#include "app/Files.h"

namespace pelwick {

void TMemoryStream::SetSize(std::size_t size) {
    bytes_.resize(size);
    if (position_ > size) position_ = size;
}

std::size_t TMemoryStream::Write(const void* data, std::size_t count) {
    if (count == 0) return 0;
    if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
    std::memcpy(bytes_.data() + position_, data, count);
    position_ += count;
    return count;
}

std::size_t TMemoryStream::Read(void* data, std::size_t count) {
    if (position_ >= bytes_.size()) return 0;
    if (count > bytes_.size() - position_) count = bytes_.size() - position_;
    std::memcpy(data, bytes_.data() + position_, count);
    position_ += count;
    return count;
}

std::string_view TMemoryStream::Remaining() const {
    if (position_ >= bytes_.size()) return {};
    return std::string_view(bytes_).substr(position_);
}

void TMemoryStream::Clear() {
    bytes_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    bytes_ = ReadFileBytes(fileName);
    position_ = 0;
}

}  // namespace pelwick
