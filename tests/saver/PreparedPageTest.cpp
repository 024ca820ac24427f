#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>

#include "saver/PreparedPage.h"

namespace pelwick {
namespace {

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

QImage Filled(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

std::string DataUrl(const QByteArray& bytes, const char* type = "image/png") {
    return std::string("data:") + type + ";base64," + bytes.toBase64().toStdString();
}

// Every image tag of a prepared page must name a registered page image.
int ForeignImageTags(const std::string& html) {
    static const QRegularExpression tag("<\\s*img(?![A-Za-z0-9_:-])(?!\\s+src=\"pelwick-image:)",
                                        QRegularExpression::CaseInsensitiveOption);
    int count = 0;
    for (auto it = tag.globalMatch(QString::fromStdString(html)); it.hasNext(); it.next())
        ++count;
    return count;
}

uint32_t Crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= uint8_t(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A small PNG whose header claims width x height, with a valid checksum.
QByteArray PngClaiming(uint32_t width, uint32_t height) {
    QByteArray png = Encoded(Filled(1, 1, Qt::red), "PNG");
    auto put32 = [&png](int at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = char(value >> (24 - 8 * i));
    };
    put32(16, width);  // IHDR data starts after the signature (8), length (4) and type (4)
    put32(20, height);
    put32(29, Crc32(png.mid(12, 17)));
    return png;
}

TEST(PreparePage, EveryImageWithoutPageDataBecomesItsAltText) {
    const char* pages[] = {
        "<img src=\"/etc/passwd\">",
        "<IMG SRC=/dev/zero alt=\"zero\">",
        "<img/src=/etc/passwd>",
        "<img\tsrc=x.png\nalt=y>",
        "< img src=/etc/passwd>",
        "<iMg alt=\"a>b\" src='/etc/passwd'>after",
        "<img src=http://example.com/x.png>",
        "<img src=\"file:///etc/passwd\">",
        "<img src='/etc/passwd' alt='never closed",
        "<<img src=x>img src=/etc/passwd>",
        "<a title=\"<img src=/etc/passwd>\">t</a>",
        "<img src=\"data:image/png;base64,bm90IGFuIGltYWdl\" alt=\"bogus\">",
        "<img>",
    };
    for (const char* html : pages) {
        const TPreparedPage page = PreparePage(html);
        EXPECT_EQ(ForeignImageTags(page.html), 0) << html << " -> " << page.html;
        EXPECT_TRUE(page.images.empty()) << html;
    }
    EXPECT_EQ(PreparePage("a<img src=x alt=\"A &amp; <b>\">b").html,
              "a<span>A &amp; &lt;b&gt;</span>b");
    EXPECT_EQ(PreparePage("<iMg alt=\"a>b\" src='/etc/passwd'>after").html,
              "<span>a&gt;b</span>after");
    EXPECT_EQ(PreparePage("x<img src=/etc/passwd>y").html, "x<span></span>y");
    EXPECT_EQ(PreparePage("<imgx src=a><image-map>").html, "<imgx src=a><image-map>");
    // Stylesheet links go: they are never loaded, and they would hide the rest of the page.
    EXPECT_EQ(PreparePage("a<LINK rel=stylesheet href=\"/etc/passwd\"/>b<linkx>").html,
              "a<span></span>b<linkx>");
}

TEST(PreparePage, DataImagesAreRegisteredUnderInternalNames) {
    const QByteArray png = Encoded(Filled(30, 20, Qt::green), "PNG");
    const std::string html =
        "<p><img width=\"15\" src=\"" + DataUrl(png) + "\" alt=x><IMG SRC='data:image/bmp," +
        QByteArray(Encoded(Filled(2, 3, Qt::blue), "BMP").toPercentEncoding()).toStdString() +
        "'></p>";
    const TPreparedPage page = PreparePage(html);
    ASSERT_EQ(page.images.size(), 2u);
    EXPECT_EQ(page.images[0].name, "pelwick-image:0");
    EXPECT_EQ(page.images[0].image.size(), QSize(30, 20));
    EXPECT_EQ(page.images[0].image.pixelColor(5, 5), QColor(Qt::green));
    EXPECT_EQ(page.images[1].image.size(), QSize(2, 3));
    EXPECT_EQ(page.html,
              "<p><img src=\"pelwick-image:0\" width=\"15\" alt=\"x\">"
              "<img src=\"pelwick-image:1\"></p>");
}

TEST(DecodeDataImage, RefusesWhatIsNoSmallRasterImage) {
    const QByteArray png = Encoded(Filled(4, 4, Qt::red), "PNG");
    EXPECT_FALSE(DecodeDataImage(DataUrl(png)).isNull());
    EXPECT_FALSE(DecodeDataImage("DATA:;BASE64," + png.toBase64().toStdString()).isNull());
    // Wrapped over lines in the attribute.
    std::string wrapped = DataUrl(png);
    wrapped.insert(30, "\n  ");
    EXPECT_FALSE(DecodeDataImage(wrapped).isNull());
    EXPECT_FALSE(DecodeDataImage(DataUrl(Encoded(Filled(4, 4, Qt::red), "JPEG"))).isNull());

    EXPECT_TRUE(DecodeDataImage("data:image/png;base64,").isNull());
    EXPECT_TRUE(DecodeDataImage("data:image/png;base64,!!!!").isNull());
    EXPECT_TRUE(DecodeDataImage("data:image/png,bogus bytes").isNull());
    EXPECT_TRUE(DecodeDataImage("data:image/png;base64" + png.toBase64().toStdString()).isNull());
    EXPECT_TRUE(DecodeDataImage("/etc/passwd").isNull());
    EXPECT_TRUE(DecodeDataImage(DataUrl(png.left(png.size() / 2))).isNull());
    // A vector image could pull in files of its own.
    const QByteArray svg =
        "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'><rect width='4' "
        "height='4'/></svg>";
    EXPECT_TRUE(DecodeDataImage(DataUrl(svg, "image/svg+xml")).isNull());
    // More than 2 MB of data, and a few bytes that claim a giant picture.
    QByteArray big = png;
    big.append(QByteArray(MaxDataImageBytes, '\0'));
    EXPECT_TRUE(DecodeDataImage(DataUrl(big)).isNull());
    EXPECT_FALSE(DecodeDataImage(DataUrl(PngClaiming(1, 1))).isNull());
    EXPECT_TRUE(DecodeDataImage(DataUrl(PngClaiming(100000, 100000))).isNull());
}

TEST(PreparePage, ReadsTheBodyColourAndMargins) {
    TPreparedPage page = PreparePage(
        "<html><BODY bgcolor=\"#1B1B1B\" topmargin=\"6\" leftmargin=7px rightmargin=' 8' "
        "bottommargin=9><p>x</p></body>");
    EXPECT_EQ(page.background, QColor(0x1B, 0x1B, 0x1B));
    EXPECT_EQ(page.topMargin, 6);
    EXPECT_EQ(page.leftMargin, 7);
    EXPECT_EQ(page.rightMargin, 8);
    EXPECT_EQ(page.bottomMargin, 9);

    page = PreparePage("<body bgcolor=A5A5A5 topmargin=500 leftmargin=-4 rightmargin=x>");
    EXPECT_EQ(page.background, QColor(0xA5, 0xA5, 0xA5));
    EXPECT_EQ(page.topMargin, 200);
    EXPECT_EQ(page.leftMargin, 0);
    EXPECT_EQ(page.rightMargin, 0);
    EXPECT_EQ(page.bottomMargin, 0);

    page = PreparePage("<body bgcolor=\"no such colour\"><p>x");
    EXPECT_EQ(page.background, QColor(Qt::white));
    EXPECT_EQ(PreparePage("<bodyx bgcolor=red>").background, QColor(Qt::white));
    EXPECT_EQ(PreparePage("<body bgcolor=red>").background, QColor(Qt::red));
}

}  // namespace
}  // namespace pelwick
