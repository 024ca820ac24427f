#include "gfx/Region.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <utility>

namespace pelwick {

namespace {

QRect ToQRect(const TRect& r) {
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
}

// Qt's region from rows that are already sorted top to bottom and never overlap, with
// equal neighbouring rows merged into one band.
QRegion FromRows(const std::vector<QRect>& rows) {
    std::vector<QRect> bands;
    for (const QRect& row : rows) {
        if (row.isEmpty()) continue;
        if (!bands.empty() && bands.back().left() == row.left() &&
            bands.back().right() == row.right() && bands.back().bottom() + 1 == row.top()) {
            bands.back().setBottom(row.bottom());
        } else {
            bands.push_back(row);
        }
    }
    QRegion region;
    if (!bands.empty()) region.setRects(bands.data(), static_cast<int>(bands.size()));
    return region;
}

}  // namespace

TRegion TRegion::Rect(const TRect& r) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return TRegion();
    return TRegion(QRegion(ToQRect(r)));
}

// Each row spans the rectangle less what the corner ellipses cut off, so the corners are
// quarter ellipses of ellipseWidth x ellipseHeight as the rounded rectangle is drawn.
TRegion TRegion::RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight) {
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    if (w <= 0 || h <= 0) return TRegion();
    const double rx = std::min(std::abs(ellipseWidth), w) / 2.0;
    const double ry = std::min(std::abs(ellipseHeight), h) / 2.0;
    if (rx < 1 || ry < 1) return Rect(r);
    std::vector<QRect> rows;
    rows.reserve(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        // Distance of the row's centre from the nearer corner ellipse's centre line.
        const double cy = y + 0.5;
        double dy = 0;
        if (cy < ry)
            dy = ry - cy;
        else if (cy > h - ry)
            dy = cy - (h - ry);
        double inset = 0;
        if (dy > 0) {
            const double t = dy / ry;
            inset = rx - rx * std::sqrt(std::max(0.0, 1 - t * t));
        }
        const int left = r.Left + static_cast<int>(std::lround(inset));
        const int right = r.Right - static_cast<int>(std::lround(inset));
        if (right > left) rows.push_back(QRect(left, r.Top + y, right - left, 1));
    }
    return TRegion(FromRows(rows));
}

// The rounded rectangle whose corners meet: symmetric in both directions.
TRegion TRegion::Ellipse(const TRect& r) {
    return RoundRect(r, r.Right - r.Left, r.Bottom - r.Top);
}

TRegion TRegion::Polygon(const std::vector<TPoint>& points, TRegion::TPolyFillMode mode) {
    if (points.size() < 3) return TRegion();
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const TPoint& p : points)
        polygon << QPoint(p.X, p.Y);
    return TRegion(
        QRegion(polygon, mode == TRegion::pfmWinding ? Qt::WindingFill : Qt::OddEvenFill));
}

TRect TRegion::Bounds() const {
    const QRect b = region_.boundingRect();
    if (b.isEmpty()) return TRect{};
    return TRect{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
}

std::vector<TRect> TRegion::Rects() const {
    std::vector<TRect> out;
    out.reserve(static_cast<size_t>(region_.rectCount()));
    for (const QRect& q : region_)
        out.push_back(TRect{q.left(), q.top(), q.right() + 1, q.bottom() + 1});
    return out;
}

}  // namespace pelwick
