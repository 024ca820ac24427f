#pragma once

namespace pelwick {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and Bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline int RectWidth(const TRect& r) {
    return r.Right - r.Left;
}
inline int RectHeight(const TRect& r) {
    return r.Bottom - r.Top;
}

}  // namespace pelwick
