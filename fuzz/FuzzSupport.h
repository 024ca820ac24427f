#pragma once
// What every fuzz target shares: the input as a string view, and a Qt application for the
// targets that need fonts or images (made once, on the offscreen platform).
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pelwick::fuzz {

inline std::string_view Input(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Makes the application object the first time it is called.
void NeedGuiApplication();

}  // namespace pelwick::fuzz

// A target's check: a broken promise is a finding, so it aborts.
#define FUZZ_CHECK(condition)               \
    do {                                    \
        if (!(condition)) __builtin_trap(); \
    } while (0)
