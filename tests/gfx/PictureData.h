#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

}  // namespace pelwick::test
