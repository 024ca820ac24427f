#include "saver/PreviewForm.h"

#include <QLabel>
#include <QPixmap>
#include <QWindow>
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
    // lies above and left of the preview area, out of sight.
    const int top = height() - frameGeometry().height();
    const int left = width() - frameGeometry().width();
    const std::optional<QSize> area = ForeignWindowSize(parent_);
    if (!area) return;
    setGeometry(left, top, area->width() - left + 10, area->height() - top + 10);
}

}  // namespace pelwick
