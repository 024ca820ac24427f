#pragma once

#include <string>

#include "app/Files.h"

namespace pelwick::test {

// A picture of tests/data/slideshow, which the decoders' tests share with the slideshow's.
inline std::string DataFile(const std::string& name) {
    return std::string(PELWICK_GFX_DATA) + name;
}

inline std::string ReadData(const std::string& name) {
    return ReadFileBytes(DataFile(name));
}

}  // namespace pelwick::test
