#include "saver/PageView.h"
#include <QFile>
#include <QPainter>
#include <QTimer>
#include <cmath>
namespace pelwick {
TPageView::TPageView(QWidget* parent) : QWidget(parent), doc_(new QTextDocument) {}
void TPageView::Navigate(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return;
    doc_ = std::make_unique<QTextDocument>();
    doc_->setHtml(QString::fromUtf8(f.readAll()));
    QTimer::singleShot(0, this, [this] {
        if (OnDocumentComplete) OnDocumentComplete();
    });
    update();
}
int TPageView::ScrollHeight() const {
    doc_->setTextWidth(width());
    return int(std::ceil(doc_->size().height()));
}
int TPageView::ScrollWidth() const {
    doc_->setTextWidth(width());
    return std::max(width(), int(std::ceil(doc_->size().width())));
}
void TPageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0x1B, 0x1B, 0x1B));
    doc_->setTextWidth(width());
    doc_->drawContents(&p);
}
}  // namespace pelwick
