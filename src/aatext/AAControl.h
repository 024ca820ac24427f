#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "aatext/AAGlyphs.h"
#include "aatext/Labels.h"
#include "gfx/Bitmap.h"

namespace pelwick {

// The base of the anti-aliased text controls: a child widget that draws its content into an
// image of its own size and shows it on its parent's area. Changes rebuild the content
// through Changed, unless updates are held back; the first paint prepares a control that
// nobody prepared with Loaded.
class TAAGraphicControl : public QWidget {
  public:
    using TNotifyEvent = std::function<void()>;

    explicit TAAGraphicControl(QWidget* parent = nullptr);
    ~TAAGraphicControl() override;

    bool AutoUpdate() const { return autoUpdate_; }
    // Switching it back on does not rebuild at once: the next change does.
    void SetAutoUpdate(bool value) { autoUpdate_ = value; }
    int Border() const { return border_; }
    void SetBorder(int value);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);

    TAAGlyphsEx& Glyphs() { return glyphs_; }

    // Changes made between these do not rebuild the control.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate() { --updateCount_; }
    int UpdateCount() const { return updateCount_; }

    // The change handler of every setting: rebuilds the prepared control.
    void Changed();
    // Marks the control as built and prepares it (the owner calls it once it has set the
    // control up).
    void Loaded();
    bool Prepared() const { return prepared_; }

    // Draws the content into Image (what the next paint event shows).
    void Paint();
    // Paints and shows the result without waiting for the next paint request.
    void PaintNow();
    // The content is redrawn at the next paint event.
    void Invalidate();
    TCanvas& Canvas() { return image_.Canvas(); }
    const TBitmap& Image() const { return image_; }

    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }
    void SetClientSize(int width, int height) { resize(width, height); }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnClick;

    // React as to a mouse that entered or left the control, or a click on it.
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Click();

    // Fills image with what lies behind the control: the parent's background and the
    // visible sibling widgets below this one, without the control itself.
    void PaintBehind(TBitmap& image);

  protected:
    virtual void PaintCanvas() {}
    virtual void LoadedEx() { Changed(); }
    virtual void Reset() { Invalidate(); }
    bool Destroying() const { return destroying_; }
    // Set first by derived destructors, which stop their timers before the control goes.
    void SetDestroying() { destroying_ = true; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool autoUpdate_ = true;
    int border_ = 0;
    TFont font_;
    TColor color_ = clWhite;
    TBitmap image_;
    TAAGlyphsEx glyphs_;
    int updateCount_ = 0;
    bool prepared_ = false;
    bool painting_ = false;
    bool dirty_ = true;
    bool destroying_ = false;
    bool grabbing_ = false;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
};

// Holds a control's updates back for a scope.
class TUpdateBracket {
  public:
    explicit TUpdateBracket(TAAGraphicControl& control) : control_(control) {
        control_.BeginUpdate();
    }
    ~TUpdateBracket() { control_.EndUpdate(); }
    TUpdateBracket(const TUpdateBracket&) = delete;
    TUpdateBracket& operator=(const TUpdateBracket&) = delete;

  private:
    TAAGraphicControl& control_;
};

// A control of markup lines: font labels and user labels, whose changes rebuild it.
class TAACustomText : public TAAGraphicControl {
  public:
    explicit TAACustomText(QWidget* parent = nullptr);

    TFontLabels& Fonts() { return fonts_; }
    TUserLabels& Labels() { return labels_; }

    TAAGraphicControl::TNotifyEvent OnTextReady;
    TAAGraphicControl::TNotifyEvent OnComplete;
    TAAGraphicControl::TNotifyEvent OnPainted;

  protected:
    static void Raise(const TAAGraphicControl::TNotifyEvent& event) {
        if (event) event();
    }
    // A surface for layouts that only measure.
    TBitmap& MeasureImage() { return measure_; }

  private:
    TFontLabels fonts_;
    TUserLabels labels_;
    TBitmap measure_{1, 1};
};

// Every byte of display becomes old + floor((fresh - old) x a / 256) over the smaller of the
// two images; a = 0 shows old and a = 255 fresh. display takes old's size.
void ComposeFade(TBitmap& display, const TBitmap& old, const TBitmap& fresh, std::uint8_t a);

}  // namespace pelwick
