#include "saver/PageView.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>
#include <cmath>
#include <optional>

namespace pelwick {
namespace {

// The card's pages are a few kilobytes; a bound keeps a wrong path (a device, a huge file)
// from eating the memory.
constexpr qint64 MaxPageBytes = 8 * 1024 * 1024;

std::optional<QByteArray> ReadPage(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = file.read(64 * 1024);
        if (chunk.isEmpty()) break;
        bytes += chunk;
        if (bytes.size() > MaxPageBytes) return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

// The link colour of dark pages, readable on the card's #1B1B1B.
const QColor LightLink(0x8A, 0xB4, 0xF8);

bool IsDark(const QColor& background) {
    return background.lightness() < 128;
}

QFont PageFont() {
    QFont font;
    font.setFamilies({"DejaVu Sans", "Liberation Sans", "Arial", "Helvetica"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    return font;
}

}  // namespace

// The page's document: every resource that is not registered beforehand is refused here,
// so neither the file system nor the network is ever asked.
class TPageView::TDocument : public QTextDocument {
  public:
    explicit TDocument(const TPageView& view) : view_(view) {
        setResourceProvider([this](const QUrl& name) { return Refuse(name); });
    }

  protected:
    QVariant loadResource(int /*type*/, const QUrl& name) override { return Refuse(name); }

  private:
    QVariant Refuse(const QUrl& name) const {
        if (view_.OnResourceRequest) view_.OnResourceRequest(name);
        return {};
    }
    const TPageView& view_;
};

namespace {

// Second line of defence after PreparePage: an image format naming anything but a
// registered image would make Qt's image handler load that name from disk.
void ReplaceForeignImages(QTextDocument& document, const QSet<QString>& registered) {
    std::vector<std::pair<int, int>> foreign;  // position, length
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat() && !registered.contains(format.toImageFormat().name()))
                foreign.emplace_back(fragment.position(), fragment.length());
        }
    }
    QTextCursor cursor(&document);
    for (const auto& [position, length] : foreign) {
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        QTextImageFormat format = cursor.charFormat().toImageFormat();
        format.setName(QString::fromUtf8(NoPageImage));
        cursor.setCharFormat(format);
    }
}

// The direction of text's first strong character, text inside isolates aside; Auto when it
// has none.
Qt::LayoutDirection FirstStrongDirection(const QString& text) {
    int isolates = 0;
    for (const char32_t c : text.toUcs4()) {
        switch (QChar::direction(c)) {
            case QChar::DirLRI:
            case QChar::DirRLI:
            case QChar::DirFSI:
                ++isolates;
                break;
            case QChar::DirPDI:
                if (isolates > 0) --isolates;
                break;
            case QChar::DirL:
                if (isolates == 0) return Qt::LeftToRight;
                break;
            case QChar::DirR:
            case QChar::DirAL:
                if (isolates == 0) return Qt::RightToLeft;
                break;
            default:
                break;
        }
    }
    return Qt::LayoutDirectionAuto;
}

// Whether the page says which way any of its text runs (a dir attribute or a CSS direction).
bool NamesDirections(const std::string& html) {
    static const QRegularExpression Direction(R"((\bdir\s*=|\bdirection\s*:))",
                                              QRegularExpression::CaseInsensitiveOption);
    return Direction.match(QString::fromStdString(html)).hasMatch();
}

// Descriptions come in every script while the card's page says nothing of direction, so each
// paragraph takes the direction of its own first strong character, as a browser's dir="auto"
// does: an Arabic or Hebrew paragraph reads right to left and its default alignment, which
// follows the direction, puts it at the right. Qt's importer marks every block left to right
// when the page names no direction, so a page that names any is laid out as it says.
void FollowParagraphDirections(QTextDocument& document) {
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const Qt::LayoutDirection direction = FirstStrongDirection(block.text());
        QTextBlockFormat format = block.blockFormat();
        if (direction == Qt::LayoutDirectionAuto || format.layoutDirection() == direction) continue;
        format.setLayoutDirection(direction);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
}

}  // namespace

TPageView::TPageView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

TPageView::~TPageView() = default;

QTextDocument* TPageView::Document() const {
    return document_.get();
}

bool TPageView::Navigate(const std::string& path) {
    const std::optional<QByteArray> bytes = ReadPage(path);
    if (!bytes) return false;
    ShowPage(bytes->toStdString());
    return true;
}

void TPageView::ShowPage(const std::string& html) {
    TPreparedPage page = PreparePage(html);

    // A fresh document every time: setHtml on a document that was laid out before keeps
    // stale layout data around.
    auto document = std::make_unique<TDocument>(*this);
    document->setUndoRedoEnabled(false);
    // Links are coloured when the page is read, so a dark page needs its colour up front.
    if (IsDark(page.background))
        document->setDefaultStyleSheet(QString("a { color: %1; }").arg(LightLink.name()));
    document->setDefaultFont(PageFont());
    document->setDocumentMargin(0);
    QSet<QString> registered;
    for (const TPageImage& image : page.images) {
        const QString name = QString::fromStdString(image.name);
        document->addResource(QTextDocument::ImageResource, QUrl(name), image.image);
        registered.insert(name);
    }
    // A null image would send Qt's image handler to the disk, so the stand-in is one pixel.
    QImage none(1, 1, QImage::Format_ARGB32);
    none.fill(Qt::transparent);
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromUtf8(NoPageImage)), none);
    registered.insert(QString::fromUtf8(NoPageImage));

    document->setHtml(QString::fromStdString(page.html));
    ReplaceForeignImages(*document, registered);
    if (!NamesDirections(page.html)) FollowParagraphDirections(*document);
    QTextFrameFormat root = document->rootFrame()->frameFormat();
    root.setTopMargin(page.topMargin);
    root.setLeftMargin(page.leftMargin);
    root.setRightMargin(page.rightMargin);
    root.setBottomMargin(page.bottomMargin);
    document->rootFrame()->setFrameFormat(root);

    document_ = std::move(document);
    background_ = page.background;
    laidOutWidth_ = -1;
    rendered_ = QImage();
    LayOut();
    update();
    const unsigned serial = ++serial_;
    QMetaObject::invokeMethod(
        this,
        [this, serial] {
            if (serial == serial_ && OnDocumentComplete) OnDocumentComplete();
        },
        Qt::QueuedConnection);
}

void TPageView::LayOut() const {
    if (!document_ || laidOutWidth_ == width()) return;
    laidOutWidth_ = width();
    document_->setTextWidth(width());
    document_->documentLayout();  // lays the page out at once
    (void)document_->size();
}

int TPageView::ScrollHeight() const {
    LayOut();
    return document_ ? int(std::ceil(document_->size().height())) : 0;
}

int TPageView::ScrollWidth() const {
    LayOut();
    return document_ ? std::max(width(), int(std::ceil(document_->size().width()))) : width();
}

// The card is repainted with every frame of the slideshow below it, so the page is drawn
// once into a picture and only that picture is shown until the page or the size changes.
void TPageView::paintEvent(QPaintEvent*) {
    if (rendered_.size() != size()) Render();
    QPainter(this).drawImage(0, 0, rendered_);
}

void TPageView::Render() {
    rendered_ = QImage(size(), QImage::Format_RGB32);
    rendered_.fill(background_);
    if (!document_ || rendered_.isNull()) return;
    LayOut();
    QPainter painter(&rendered_);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = rect();
    // Text without a colour of its own (list bullets among it) is black and links blue
    // whatever the window's palette says; on a dark page, white and light blue.
    context.palette = palette();
    const bool dark = IsDark(background_);
    context.palette.setColor(QPalette::Text, dark ? Qt::white : Qt::black);
    context.palette.setColor(QPalette::Link, dark ? LightLink : QColor(Qt::blue));
    document_->documentLayout()->draw(&painter, context);
}

void TPageView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rendered_ = QImage();
    LayOut();
}

}  // namespace pelwick
