// pelwick-preview-picture: draws the still picture of the preview window, a miniature news
// wall (a picture, the dark headline panel with its lines, an item card), with the program's
// own picture, stretching and text engines. Its output is resources/preview/preview.png:
//
//   build/pelwick-preview-picture resources/demo/dusk.jpg resources/preview/preview.png
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <string>
#include <vector>

#include "ToolSupport.h"
#include "aatext/HeadlineStyle.h"
#include "app/Files.h"
#include "gfx/PictureDecoders.h"
#include "gfx/Stretch.h"

namespace {

using namespace pelwick;

constexpr int Width = 177, Height = 132;

const char* const Usage =
    "usage: pelwick-preview-picture PICTURE.jpg OUT.png\n"
    "\n"
    "Draws the preview window's picture (177 x 132): PICTURE with a miniature headline panel\n"
    "and item card on top, as PNG.\n";

// Mixes colour into the rectangle with an opacity of alpha / 255, as the saver's layers do.
void Shade(TBitmap& image, const TRect& r, TColor colour, int alpha) {
    const int channel[3] = {int((colour >> 16) & 0xFF), int((colour >> 8) & 0xFF),
                            int(colour & 0xFF)};  // blue, green, red
    for (int y = std::max(0, r.Top); y < std::min(image.Height(), r.Bottom); ++y) {
        std::uint8_t* row = image.ScanLine(y);
        for (int x = std::max(0, r.Left); x < std::min(image.Width(), r.Right); ++x)
            for (int c = 0; c < 3; ++c) {
                std::uint8_t& v = row[3 * x + c];
                v = std::uint8_t((v * (255 - alpha) + channel[c] * alpha + 127) / 255);
            }
    }
}

// Lays light pixels of src (the panel's text on black) over image at (x, y), shaded by alpha.
void Overlay(TBitmap& image, const TBitmap& text, int x, int y, int alpha) {
    for (int row = 0; row < text.Height() && y + row < image.Height(); ++row)
        for (int col = 0; col < text.Width() && x + col < image.Width(); ++col) {
            const std::uint8_t* s = text.ScanLine(row) + 3 * col;
            std::uint8_t* d = image.ScanLine(y + row) + 3 * (x + col);
            for (int c = 0; c < 3; ++c)
                d[c] = std::uint8_t(std::max<int>(d[c], s[c] * alpha / 255));
        }
}

std::vector<std::string> Headlines() {
    std::vector<std::string> lines{"<Title1>Riverton News", "<Text2> - News from the town",
                                   "<line>"};
    const char* items[] = {"Footbridge over the Wend reopens", "Winter market returns",
                           "Library extends its hours",        "New bus route approved",
                           "Rovers win the county cup",        "Road works on Station Road",
                           "Allotment society meets",          "School choir sings"};
    for (int i = 0; i < 8; ++i)
        lines.push_back(std::string(i == 0 ? "<text3>" : "<text1>") + std::to_string(i + 1) + ". " +
                        items[i]);
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    SetTool("pelwick-preview-picture", Usage);
    HandleInfoOptions(argc, argv);
    const std::vector<std::string> files =
        ReadArguments(argc, argv, [](const std::string&, const TOptionValue&) { return false; });
    if (files.size() < 2) Fail("wants a picture and an output file", 2);
    if (files.size() > 2) Fail("unexpected argument \"" + files[2] + "\"", 2);
    UseOffscreenQt();
    QGuiApplication app(argc, argv);
    try {
        const TBitmap photo = DecodeJpeg(ReadFileBytes(files[0]));
        TBitmap wall(Width, Height);
        StretchBitmap(wall, TRect{0, 0, Width, Height}, photo, photo.BoundsRect(), smHalftone,
                      wall.BoundsRect());
        // The panel near the left edge, as dark as the saver's at alpha 190.
        const TRect panel{4, 10, 62, 112};
        Shade(wall, panel, clBlack, 190);
        THeadlineRenderer renderer;
        const TBitmap text = renderer.Render(Headlines(), HeadlineTextWidth);
        TBitmap small(RectWidth(panel) - 2, RectHeight(panel) - 2);
        StretchBitmap(small, small.BoundsRect(), text,
                      TRect{0, 0, text.Width(), std::min(text.Height(), text.Width() * 7 / 4)},
                      smHalftone, small.BoundsRect());
        Overlay(wall, small, panel.Left + 1, panel.Top + 1, 255);
        // The card beside it: dark, with a light border, a title line and text lines.
        const TRect card{70, 30, 170, 78};
        Shade(wall, card, RGB(0x1B, 0x1B, 0x1B), 210);
        Shade(wall, TRect{card.Left + 2, card.Top + 2, card.Right - 2, card.Top + 3},
              RGB(165, 165, 165), 200);
        Shade(wall, TRect{card.Left + 2, card.Bottom - 3, card.Right - 2, card.Bottom - 2},
              RGB(165, 165, 165), 200);
        Shade(wall, TRect{card.Left + 2, card.Top + 2, card.Left + 3, card.Bottom - 2},
              RGB(165, 165, 165), 200);
        Shade(wall, TRect{card.Right - 3, card.Top + 2, card.Right - 2, card.Bottom - 2},
              RGB(165, 165, 165), 200);
        Shade(wall, TRect{card.Left + 25, card.Top + 8, card.Right - 25, card.Top + 11}, clWhite,
              230);
        for (int line = 0; line < 4; ++line)
            Shade(wall,
                  TRect{card.Left + 7, card.Top + 17 + 6 * line,
                        card.Right - 7 - (line == 3 ? 30 : 0), card.Top + 19 + 6 * line},
                  RGB(220, 220, 220), 170);
        WritePicture(wall.ToQImage(), files[1], "PNG");
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    return 0;
}
