#include "saver/PreviewForm.h"

#include <QLabel>
#include <QPixmap>
#include <QWindow>
#include <algorithm>
#include <optional>

#include "app/Geometry.h"
#include "saver/NativeWindow.h"

namespace pelwick {

TPreviewForm::TPreviewForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle("PreviewForm");
    resize(FormWidth, FormHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(8, 8, PictureWidth, PictureHeight);
    Image1->setPixmap(QPixmap(":/pelwick/preview.png"));
    Image1->setAttribute(Qt::WA_TranslucentBackground);
}

void TPreviewForm::FillArea(QSize area) {
    // Inside a preview area the window is a miniature of the wall: the picture as large as
    // the area allows, its proportions kept, centred on black.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    const QPixmap picture(":/pelwick/preview.png");
    const QSize fitted = picture.size().scaled(area, Qt::KeepAspectRatio);
    if (fitted.isEmpty()) return;
    Image1->setPixmap(picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    Image1->setGeometry((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2,
                        fitted.width(), fitted.height());
}

TPreviewForm::~TPreviewForm() {
    watch_.reset();
    if (host_) ReleaseFromForeignWindow(*this);
}

bool TPreviewForm::CreateParams(std::uint32_t parent) {
    if (parent == 0) return true;
    host_ = EmbedInForeignWindow(*this, parent);
    if (!host_) return false;
    parent_ = parent;
    watch_ = std::make_unique<TForeignWindowWatch>(parent);
    watch_->OnResize = [this](QSize) { FormCreate(); };
    watch_->OnDestroy = [this] {
        if (OnParentGone) OnParentGone();
    };
    FormCreate();
    return true;
}

void TPreviewForm::FormCreate() {
    if (parent_ == 0) return;
    // A child window has no frame of its own here, so these are 0; where a frame exists it
    // lies above and left of the preview area, out of sight. While the window is resized its
    // frame may still have the old size: never more than 0, or the window would slide in.
    const int top = std::min(0, height() - frameGeometry().height());
    const int left = std::min(0, width() - frameGeometry().width());
    const std::optional<QSize> area = ForeignWindowSize(parent_);
    if (!area) return;
    setGeometry(left, top, area->width() - left + 10, area->height() - top + 10);
    FillArea(*area);
}

}  // namespace pelwick
