#include "gfx/Blend.h"

#include <gtest/gtest.h>

#include <vector>

#include "gfx/Simd.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

int Reference(int under, int over, int alpha) {
    return (under * (255 - alpha) + over * alpha + 127) / 255;
}

TEST(BlendBytes, EveryUnderOverAndAlphaMatchesTheRoundedFormula) {
    // Every pair of channel values, each in its own byte; the odd length leaves a tail
    // that vectorised code handles separately.
    std::vector<std::uint8_t> under(65536 + 7), over(65536 + 7), out(65536 + 7);
    for (size_t i = 0; i < under.size(); ++i) {
        under[i] = static_cast<std::uint8_t>(i & 0xFF);
        over[i] = static_cast<std::uint8_t>((i >> 8) & 0xFF);
    }
    for (const TSimdLevel level : SupportedSimdLevels()) {
        test::TSimdScope simd(level);
        for (int alpha = 0; alpha <= 255; ++alpha) {
            BlendBytes(out.data(), under.data(), over.data(), out.size(), unsigned(alpha));
            for (size_t i = 0; i < out.size(); ++i)
                ASSERT_EQ(out[i], Reference(under[i], over[i], alpha))
                    << "under " << int(under[i]) << " over " << int(over[i]) << " alpha " << alpha
                    << " " << SimdLevelName(level);
        }
    }
}

TEST(BlendBytes, BlendsInPlaceOverEitherSourceAndHoldsAlphaTo255) {
    struct TCase {
        const char* name;
        int alpha;
        bool intoUnder;
    };
    for (const TCase& c : {TCase{"into under", 100, true}, TCase{"into over", 100, false},
                           TCase{"alpha above 255", 400, true}}) {
        // Longer than the in-place chunk, so that the chunks' seams are crossed.
        std::vector<std::uint8_t> under(10000), over(10000);
        for (size_t i = 0; i < under.size(); ++i) {
            under[i] = static_cast<std::uint8_t>(i * 7);
            over[i] = static_cast<std::uint8_t>(255 - i * 3);
        }
        const std::vector<std::uint8_t> u0 = under, o0 = over;
        std::uint8_t* dst = c.intoUnder ? under.data() : over.data();
        BlendBytes(dst, under.data(), over.data(), under.size(), unsigned(c.alpha));
        const int a = std::min(c.alpha, 255);
        for (size_t i = 0; i < under.size(); ++i)
            ASSERT_EQ(dst[i], Reference(u0[i], o0[i], a)) << c.name << " at " << i;
    }
}

}  // namespace
}  // namespace pelwick
