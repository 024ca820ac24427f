// Regions from lists of rectangles, in one sweep from the top. The transitions rebuild such
// regions for every frame from hundreds of rectangles (bars, shreds, a polygon's pixel rows),
// so the sweep works on groups of rectangles that share their top and bottom, as those
// builders add them: a band's spans come from the few groups that cover it, each merged once.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <tuple>
#include <utility>

#include "gfx/RectRegion.h"

namespace pelwick {

namespace {

using TSpan = std::pair<int, int>;  // [left, right)
using TSpans = std::vector<TSpan>;

// Appends span to sorted spans from index first on, merging it with the last of them where
// they overlap or touch.
void Extend(TSpans& spans, const TSpan& span, size_t first = 0) {
    if (spans.size() > first && span.first <= spans.back().second)
        spans.back().second = std::max(spans.back().second, span.second);
    else
        spans.push_back(span);
}

bool ByRow(const TRect& a, const TRect& b) {
    return std::tie(a.Top, a.Bottom, a.Left) < std::tie(b.Top, b.Bottom, b.Left);
}

// Rectangles by top, then bottom and left. The builders add them from the top down, or
// shape by shape (a polygon's pixel rows), so when the tops span a range not much larger
// than the list they are dealt into buckets by top, and each run of one top, a handful of
// rectangles, is sorted on its own.
void SortRects(std::vector<TRect>& rects) {
    if (std::is_sorted(rects.begin(), rects.end(), ByRow)) return;
    const auto [low, high] = std::minmax_element(
        rects.begin(), rects.end(), [](const TRect& a, const TRect& b) { return a.Top < b.Top; });
    const std::int64_t first = low->Top, range = std::int64_t{high->Top} - first + 1;
    if (range > 4 * static_cast<std::int64_t>(rects.size()) + 1024) {
        std::sort(rects.begin(), rects.end(), ByRow);
        return;
    }
    std::vector<size_t> start(static_cast<size_t>(range) + 1, 0);
    for (const TRect& r : rects)
        ++start[static_cast<size_t>(r.Top - first) + 1];
    for (size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<TRect> dealt(rects.size());
    for (const TRect& r : rects)
        dealt[start[static_cast<size_t>(r.Top - first)]++] = r;
    for (auto run = dealt.begin(); run != dealt.end();) {
        const auto end =
            std::find_if(run, dealt.end(), [&](const TRect& r) { return r.Top != run->Top; });
        std::sort(run, end, ByRow);
        run = end;
    }
    rects.swap(dealt);
}

// Walks the bands of the union of a list of rectangles from the top: maximal runs of rows
// covered by the same rectangles, each with its spans, sorted and separate. The sweep keeps
// the pieces that cover the current band by left edge; rectangles with the same top and
// bottom arrive as one group whose pieces are merged beforehand.
class TBandSweep {
  public:
    explicit TBandSweep(const std::vector<TRect>& rects) {
        std::vector<TRect> live;
        live.reserve(rects.size());
        for (const TRect& r : rects)
            if (r.Right > r.Left && r.Bottom > r.Top) live.push_back(r);
        SortRects(live);
        for (size_t i = 0; i < live.size();) {
            TGroup group{live[i].Top, live[i].Bottom, pool_.size(), 0};
            for (; i < live.size() && live[i].Top == group.top && live[i].Bottom == group.bottom;
                 ++i)
                Extend(pool_, TSpan{live[i].Left, live[i].Right}, group.first);
            group.last = pool_.size();
            groups_.push_back(group);
        }
    }

    // The next band with pixels, its rows [top, bottom) and spans (valid until the next
    // call); false when there is none.
    bool Next(int& top, int& bottom, const TSpans*& spans) {
        if (active_.empty() && next_ == groups_.size()) return false;
        if (active_.empty()) top_ = groups_[next_].top;
        Arrive();
        bottom_ = next_ < groups_.size() ? groups_[next_].top : INT_MAX;
        spans_.clear();
        for (const TPiece& p : active_) {
            bottom_ = std::min(bottom_, p.bottom);
            Extend(spans_, TSpan{p.left, p.right});
        }
        top = top_, bottom = bottom_, spans = &spans_;
        active_.erase(std::remove_if(active_.begin(), active_.end(),
                                     [this](const TPiece& p) { return p.bottom == bottom_; }),
                      active_.end());
        top_ = bottom_;
        return true;
    }

  private:
    struct TGroup {
        int top, bottom;
        size_t first, last;  // its spans in pool_
    };
    struct TPiece {
        int left, right, bottom;
    };

    // The pieces of the groups that start at the current band join the active ones.
    void Arrive() {
        arriving_.clear();
        bool sorted = true;
        for (; next_ < groups_.size() && groups_[next_].top == top_; ++next_) {
            const TGroup& g = groups_[next_];
            sorted = sorted && (arriving_.empty() || pool_[g.first].first >= arriving_.back().left);
            for (size_t k = g.first; k < g.last; ++k)
                arriving_.push_back(TPiece{pool_[k].first, pool_[k].second, g.bottom});
        }
        const auto byLeft = [](const TPiece& a, const TPiece& b) { return a.left < b.left; };
        if (!sorted) std::sort(arriving_.begin(), arriving_.end(), byLeft);
        merged_.resize(active_.size() + arriving_.size());
        std::merge(active_.begin(), active_.end(), arriving_.begin(), arriving_.end(),
                   merged_.begin(), byLeft);
        active_.swap(merged_);
    }

    std::vector<TGroup> groups_;  // by top
    TSpans pool_;
    std::vector<TPiece> active_, arriving_, merged_;  // active_: the current band's, by left
    size_t next_ = 0;                                 // the first group not yet arrived
    int top_ = 0, bottom_ = 0;
    TSpans spans_;
};

// Qt's form of a region: bands of rows, each a sorted list of separate spans. A band whose
// spans equal those of the band right above it extends that band instead, so that equal
// regions come out alike and compare equal.
class TBandWriter {
  public:
    void Add(int top, int bottom, const TSpans& spans) {
        if (spans.empty()) return;
        if (lastBottom_ == top && spans == last_) {
            for (size_t k = lastStart_; k < rects_.size(); ++k)
                rects_[k].setBottom(bottom - 1);
        } else {
            lastStart_ = rects_.size();
            for (const auto& [left, right] : spans)
                rects_.emplace_back(left, top, right - left, bottom - top);
            last_ = spans;
        }
        lastBottom_ = bottom;
    }

    QRegion Region() const {
        QRegion region;
        if (!rects_.empty()) region.setRects(rects_.data(), static_cast<int>(rects_.size()));
        return region;
    }

  private:
    std::vector<QRect> rects_;
    TSpans last_;
    size_t lastStart_ = 0;
    int lastBottom_ = INT_MIN;
};

// The parts of two sorted lists of separate spans that both cover.
void Intersect(const TSpans& a, const TSpans& b, TSpans& out) {
    out.clear();
    for (size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        const int left = std::max(a[i].first, b[j].first);
        const int right = std::min(a[i].second, b[j].second);
        if (left < right) out.emplace_back(left, right);
        if (a[i].second < b[j].second)
            ++i;
        else
            ++j;
    }
}

}  // namespace

void TRectRegion::Bands(const TBandVisitor& visit) const {
    TBandSweep sweepA(a_);
    int topA, bottomA;
    const TSpans* spansA;
    if (!crossed_) {
        while (sweepA.Next(topA, bottomA, spansA))
            visit(topA, bottomA, *spansA);
        return;
    }
    // Both sweeps step together: each overlap of a band of one list with a band of the
    // other is a band of the intersection.
    TBandSweep sweepB(b_);
    int topB, bottomB;
    const TSpans* spansB;
    TSpans both;
    bool moreA = sweepA.Next(topA, bottomA, spansA), moreB = sweepB.Next(topB, bottomB, spansB);
    while (moreA && moreB) {
        const int top = std::max(topA, topB), bottom = std::min(bottomA, bottomB);
        if (top < bottom) {
            Intersect(*spansA, *spansB, both);
            if (!both.empty()) visit(top, bottom, both);
        }
        if (bottomA <= bottomB)
            moreA = sweepA.Next(topA, bottomA, spansA);
        else
            moreB = sweepB.Next(topB, bottomB, spansB);
    }
}

TRegion TRectRegion::Region() const {
    TBandWriter writer;
    Bands([&writer](int top, int bottom, const TSpans& spans) { writer.Add(top, bottom, spans); });
    return TRegion(writer.Region());
}

TRegion TRegion::FromRects(const std::vector<TRect>& rects) {
    return TRectRegion(rects).Region();
}

TRegion TRegion::IntersectionOfRects(const std::vector<TRect>& a, const std::vector<TRect>& b) {
    return TRectRegion(a, b).Region();
}

}  // namespace pelwick
