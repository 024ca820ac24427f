#include <gtest/gtest.h>

#include "feeds/ChunkDecoder.h"

namespace pelwick {
namespace {

struct TDecoded {
    std::string body;
    std::vector<std::int64_t> sizes;
    int ends = 0;
};

TDecoded Decode(const std::string& wire, size_t pieceSize, bool* ok = nullptr) {
    TDecoded d;
    TChunkDecoder decoder;
    decoder.OnChunkBegin = [&](std::int64_t size) { d.sizes.push_back(size); };
    decoder.OnData = [&](std::string_view data, std::int64_t) { d.body.append(data); };
    decoder.OnChunkEnd = [&] { ++d.ends; };
    bool good = true;
    for (size_t i = 0; i < wire.size() && good; i += pieceSize)
        good = decoder.Feed(std::string_view(wire).substr(i, pieceSize));
    if (ok) *ok = good && decoder.Finished();
    return d;
}

TEST(ChunkDecoder, DecodesWhateverThePiecesAre) {
    const std::string wire = "4\r\nWiki\r\nA;name=v\r\npedia in\r\n\r\n0\r\nTrailer: x\r\n\r\n";
    for (size_t piece : {1u, 2u, 3u, 7u, 1000u}) {
        bool ok = false;
        const TDecoded d = Decode(wire, piece, &ok);
        EXPECT_TRUE(ok) << piece;
        EXPECT_EQ(d.body, "Wikipedia in\r\n") << piece;
        EXPECT_EQ(d.sizes, (std::vector<std::int64_t>{4, 10})) << piece;
        EXPECT_EQ(d.ends, 2);
    }
}

TEST(ChunkDecoder, RejectsBrokenFraming) {
    const std::vector<std::string> broken = {"zz\r\nab\r\n0\r\n\r\n", "2\r\nabX\r\n0\r\n\r\n",
                                             "-1\r\n\r\n", std::string(5000, '1')};
    for (const std::string& wire : broken) {
        bool ok = true;
        Decode(wire, 3, &ok);
        EXPECT_FALSE(ok) << wire.substr(0, 20);
    }
}

}  // namespace
}  // namespace pelwick
