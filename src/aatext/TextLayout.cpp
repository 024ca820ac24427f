#include "aatext/TextLayout.h"

#include <algorithm>

#include "aatext/ForePictures.h"
#include "aatext/RowEllipsis.h"
#include "app/Utf8.h"
#include "gfx/Rounding.h"

namespace pelwick {

namespace {

bool IsBreakChar(char32_t c) {
    switch (c) {
        case U'\t':
        case U' ':
        case U'!':
        case U',':
        case U'-':
        case U'.':
        case U':':
        case U';':
        case U'?':
            return true;
        default:
            return false;
    }
}

bool IsWordChar(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ||
           c >= 0x80;
}

// Whether the quote mark at text[i] opens a quotation: it must be closed later, and a single
// quote between letters is an apostrophe ("don't"), not a quotation mark.
bool OpensQuotation(const std::string& text, std::size_t i, char mark) {
    if (mark == '\'' && i > 0 && IsWordChar(static_cast<unsigned char>(text[i - 1]))) return false;
    return text.find(mark, i + 1) != std::string::npos;
}

// Gives a canvas its font back when the layout ends.
class TFontKeeper {
  public:
    explicit TFontKeeper(TCanvas* canvas) : canvas_(canvas) {
        if (canvas_) font_ = canvas_->Font;
    }
    ~TFontKeeper() {
        if (canvas_) canvas_->Font = font_;
    }
    TFontKeeper(const TFontKeeper&) = delete;
    TFontKeeper& operator=(const TFontKeeper&) = delete;

  private:
    TCanvas* canvas_;
    TFont font_;
};

}  // namespace

std::vector<std::string> WrapText(const std::string& text, int maxChars) {
    maxChars = std::max(maxChars, 2);
    std::vector<std::string> rows;
    std::size_t rowStart = 0;                 // byte where the current row starts
    std::size_t breakAt = std::string::npos;  // byte after the row's last break character
    int count = 0;                            // characters in the current row
    char quote = 0;

    // Ends the row at end; the break characters and line ends from resume on are dropped.
    // Returns where the next row starts.
    auto endRow = [&](std::size_t end, std::size_t resume) {
        rows.push_back(text.substr(rowStart, end - rowStart));
        while (resume < text.size() && (IsBreakChar(static_cast<unsigned char>(text[resume])) ||
                                        text[resume] == '\r' || text[resume] == '\n'))
            ++resume;
        rowStart = resume;
        breakAt = std::string::npos;
        count = 0;
        return resume;
    };

    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "\r\n") == 0) {
            i = endRow(i, i + 2);
            quote = 0;
            continue;
        }
        const char32_t c = utf8::CodePoint(text, i);
        const std::size_t length = utf8::CharLength(text, i);
        if (!quote && count > 0 && count + 1 > maxChars) {
            if (utf8::IsWide(c)) {
                i = endRow(i, i);
                continue;
            }
            if (breakAt != std::string::npos && breakAt > rowStart) {
                const std::size_t resume = endRow(breakAt, breakAt);
                if (resume > i) {  // c itself was a break character after the break
                    i = resume;
                    continue;
                }
                count = static_cast<int>(
                    utf8::CharCount(std::string_view(text).substr(resume, i - resume)));
            }
        }
        if (quote) {
            if (c == static_cast<unsigned char>(quote)) quote = 0;
        } else if ((c == U'"' || c == U'\'') && OpensQuotation(text, i, static_cast<char>(c))) {
            quote = static_cast<char>(c);
        } else if (IsBreakChar(c)) {
            breakAt = i + length;
        }
        i += length;
        ++count;
    }
    if (rowStart < text.size() || rows.empty()) rows.push_back(text.substr(rowStart));
    return rows;
}

std::vector<std::string> WrapRows(TAAGlyphs& glyphs, const std::string& text, int width) {
    const int length = static_cast<int>(utf8::CharCount(text));
    const int textWidth = glyphs.TextWidth(text);
    int n = textWidth > 0 ? static_cast<int>(static_cast<std::int64_t>(width) * length / textWidth)
                          : length;
    while (n > 0 && glyphs.TextWidth(text.substr(0, utf8::PrefixBytes(text, n))) > width)
        --n;
    return WrapText(text, n);
}

int LayoutLines(TAAGlyphsEx& glyphs, const TFont& textFont, const TCustomTextParam& params,
                const TFontLabels& fonts, TUserLabels& labels, const TLayoutArea& area, bool draw,
                std::vector<TLayoutRow>* rows) {
    TCanvas* canvas = glyphs.Canvas();
    const TFontKeeper keeper(canvas);
    TFont font = textFont;
    TAAEffect effect;
    effect.Assign(params.FontEffect());
    TAlignment alignment = params.Alignment();
    const double pitch = params.RowPitch() / 100.0 + 1;
    int y = area.Top;

    for (const std::string& source : params.Lines().Strings()) {
        if (y > area.StopBelow) break;
        if (params.LabelEffect() == TCustomTextParam::leOnlyALine) {
            font = textFont;
            effect.Assign(params.FontEffect());
            alignment = params.Alignment();
        }
        std::string line = source;
        fonts.ApplyTags(line, &font, &effect);
        labels.ApplyTags(line, alignment);
        if (canvas) canvas->Font = font;
        glyphs.Effect().Assign(effect);

        std::vector<std::string> lineRows;
        if (line.empty())
            lineRows.push_back(" ");
        else if (params.WordWrap() && glyphs.TextWidth(line) > area.AvailableWidth)
            lineRows = WrapRows(glyphs, line, area.AvailableWidth);
        else
            lineRows.push_back(std::move(line));

        for (std::string& row : lineRows) {
            if (params.EndEllipsis()) row = EllipsizeRow(glyphs, row, area.AvailableWidth);
            const int height = glyphs.TextHeight(row + " ");
            const int width = glyphs.TextWidth(row);
            int left = area.LeftMargin;
            if (alignment == taRightJustify)
                left = area.LeftMargin + area.AvailableWidth - width;
            else if (alignment == taCenter)
                left = (area.FullWidth - width) / 2;
            if (draw) glyphs.TextOutput(left, y, row);
            if (rows) rows->push_back(TLayoutRow{row, TRect{left, y, left + width, y + height}});
            y += Round(pitch * height);
        }
    }
    return y;
}

void PaintBackground(TBitmap& image, const TCustomParam& params, TColor backColor,
                     const std::function<void(TBitmap&)>& paintBehind) {
    TCanvas& canvas = image.Canvas();
    if (params.Transparent()) {
        if (paintBehind) paintBehind(image);
    } else {
        canvas.Brush = TBrush{TBrush::bsSolid, backColor};
        canvas.FillRect(image.BoundsRect());
        if (const TBitmap* picture = params.BackGround().Bitmap())
            PlacePicture(image, *picture, static_cast<TTextureMode>(params.BackGroundMode()));
    }
    canvas.Brush.Style = TBrush::bsClear;
}

}  // namespace pelwick
