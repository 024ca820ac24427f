#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QWindow;

namespace pelwick {

class TForeignWindowWatch;

// The small window shown in the display settings' preview area: a still picture of the news
// wall. It loads no settings, downloads nothing and runs no timers; it lives as long as its
// window, which ends with the preview area it was put into.
class TPreviewForm : public QWidget {
    Q_OBJECT

  public:
    static constexpr int FormWidth = 234;
    static constexpr int FormHeight = 225;
    static constexpr int PictureWidth = 177;
    static constexpr int PictureHeight = 132;

    explicit TPreviewForm(QWidget* parent = nullptr);
    ~TPreviewForm() override;

    QLabel* Image1 = nullptr;

    // Becomes a child of the preview area (PreviewParent when it is not 0) and covers it;
    // false when that window does not exist. Call before the first show.
    bool CreateParams(std::uint32_t parent);
    // Places the window so that only its client area shows in the preview area, and fills
    // that area with the picture; again whenever the area changes size.
    void FormCreate();
    // Called when the preview area has gone: the program ends then.
    std::function<void()> OnParentGone;

  private:
    void FillArea(QSize area);

    std::uint32_t parent_ = 0;
    std::unique_ptr<QWindow> host_;
    std::unique_ptr<TForeignWindowWatch> watch_;
};

}  // namespace pelwick
