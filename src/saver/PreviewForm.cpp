#include "saver/PreviewForm.h"

namespace pelwick {

TPreviewForm::TPreviewForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle("PreviewForm");
    setFixedSize(FormWidth, FormHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
}

}  // namespace pelwick
