#pragma once

#include <cstdint>
#include <limits>
#include <list>
#include <string>
#include <vector>

#include "app/Exception.h"
#include "app/Geometry.h"
#include "gfx/Bitmap.h"

namespace pelwick {

// Oversampling levels: text is drawn Scale times larger and each Scale x Scale block is
// reduced to one coverage byte.
enum TAAQuality { aqHigh, aqNormal, aqLow, aqNone };

int ScaleOf(TAAQuality quality);

// ScanLine was asked for a row the mask does not have.
class EInvalidLine : public Exception {
  public:
    EInvalidLine() : Exception("Invalid line!") {}
};

class TAAGlyphs;

// An 8-bit coverage mask of one string: 0 no ink, 255 full ink. Rows are stored bottom-up
// (row 0, the top of the text, is the last in Data) and padded to Stride bytes, so all
// access goes through ScanLine.
class TAAMask {
  public:
    explicit TAAMask(TAAGlyphs* font = nullptr) : font_(font) {}
    TAAMask(const TAAMask&) = delete;
    TAAMask& operator=(const TAAMask&) = delete;

    TAAQuality Quality() const { return quality_; }
    void SetQuality(TAAQuality quality);
    int Scale() const { return scale_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    const std::vector<std::uint8_t>& Data() const { return data_; }
    TAAGlyphs* Font() const { return font_; }

    // Copies the size, quality and coverage of source (not Font).
    void Assign(const TAAMask& source);
    // An empty mask of the given size (negative sizes count as 0).
    void SetSize(int width, int height);

    // The row's Width bytes; rows outside 0..Height-1 raise EInvalidLine.
    std::uint8_t* ScanLine(int row);
    const std::uint8_t* ScanLine(int row) const;

    // The size text would have in this mask, in output pixels, with the font of Font's
    // canvas; 0 x 0 without a canvas. For turned text the size of the box around it.
    TSize TextExtent(const std::string& text);
    // Where the start of the turned text lies inside that box (0, 0 for straight text).
    TPoint RotationOffset() const { return rotationOffset_; }
    // The text column of the mask's first column: 0 unless DrawText kept only a part.
    int Left() const { return left_; }
    // The width of the whole text the mask holds a part of (its own width when it holds all).
    int FullWidth() const { return fullWidth_; }
    // Draws text into the mask, which takes the text's extent; nothing without a canvas.
    // Only the text's columns from visibleLeft up to visibleRight are kept (the mask is then
    // that wide and Left() says where it starts in the text), so that a line far wider
    // than anything that shows it costs only what shows.
    // Recent drawings of a repeatable rasteriser are kept and reused.
    void DrawText(const std::string& text, int visibleLeft = std::numeric_limits<int>::min(),
                  int visibleRight = std::numeric_limits<int>::max());
    void ForgetDrawings();

    // Mix of the mask with its 5 x 5 box average, Amount (1..100) percent of the way.
    void Blur(int amount);
    // Keeps only the edges of the ink.
    void Outline();
    // Moves every pixel by a random distance of up to Amount pixels.
    void Spray(int amount);
    void HorzMirror();
    void VertMirror();

  private:
    TSize Measure(const std::string& text, TFont* enlarged);

    TAAGlyphs* font_;
    TAAQuality quality_ = aqNormal;
    int scale_ = 3;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::vector<std::uint8_t> data_;
    TPoint rotationOffset_;
    int left_ = 0, fullWidth_ = 0;
    // The enlarged drawing, kept between draws so that lines reuse its memory.
    // Recent drawings, the latest first: a text is laid out again whenever one of its lines
    // changes, and the others come back unchanged.
    struct TDrawing {
        std::string Key;
        int Width, Height, Stride, Left, FullWidth;
        std::vector<std::uint8_t> Data;
    };
    bool Reuse(const std::string& key);
    void Keep(std::string key);
    std::list<TDrawing> drawings_;
    std::size_t drawingBytes_ = 0;
    // It is all 0 between draws, so a draw need not clear it first.
    TBitmap surface_{0, 0, pf8bit};
    bool surfaceClear_ = true;
};

}  // namespace pelwick
