#pragma once

#include <cstdint>

namespace pelwick {

// A colour as 0x00BBGGRR, or (high bit set) a reference to a system colour that
// ColorToRGB resolves at the moment of use.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clSystemColor = 0x80000000;
// The desktop's background of window contents and its text, and the face of buttons.
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clBtnFace = clSystemColor | 15;

inline constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
inline constexpr std::uint8_t GetRValue(TColor c) {
    return std::uint8_t(c & 0xFF);
}
inline constexpr std::uint8_t GetGValue(TColor c) {
    return std::uint8_t((c >> 8) & 0xFF);
}
inline constexpr std::uint8_t GetBValue(TColor c) {
    return std::uint8_t((c >> 16) & 0xFF);
}

// The plain 0x00BBGGRR value of a colour; system colours come from the desktop's palette
// (black for ones it does not know).
TColor ColorToRGB(TColor color);

}  // namespace pelwick
