#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Files.h"
#include "gfx/Color.h"

namespace pelwick::test {

// A picture of tests/data/slideshow, which the decoders' tests share with the slideshow's.
inline std::string DataFile(const std::string& name) {
    return std::string(PELWICK_GFX_DATA) + name;
}

inline std::string ReadData(const std::string& name) {
    return ReadFileBytes(DataFile(name));
}

// Lossy formats (JPEG, HEVC, AV1) keep a colour within a few steps a channel.
inline void ExpectNear(TColor actual, TColor expected, const std::string& where) {
    EXPECT_LE(std::abs(GetRValue(actual) - GetRValue(expected)), 12) << where;
    EXPECT_LE(std::abs(GetGValue(actual) - GetGValue(expected)), 12) << where;
    EXPECT_LE(std::abs(GetBValue(actual) - GetBValue(expected)), 12) << where;
}

// The CRC of a PNG chunk, so that a header can be patched and still pass its check.
inline std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

}  // namespace pelwick::test
