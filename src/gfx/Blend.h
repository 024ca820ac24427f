#pragma once

#include <cstddef>
#include <cstdint>

namespace pelwick {

// dst[i] = (under[i] * (255 - alpha) + over[i] * alpha + 127) / 255 for count bytes: a layer
// of constant alpha (0..255) over what lies under it, rounded to the nearest. dst may be
// under or over itself.
void BlendBytes(std::uint8_t* dst, const std::uint8_t* under, const std::uint8_t* over,
                std::size_t count, unsigned alpha);

}  // namespace pelwick
