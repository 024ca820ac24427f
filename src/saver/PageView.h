#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "saver/PreparedPage.h"

class QTextDocument;
class QUrl;

namespace pelwick {

// A small page view of our own for the item card: shows a local HTML page written by the
// card, reports when it is laid out and how much room it needs. Nothing but the page file
// is ever read: images come only from the page's own data: URLs, every other resource
// (stylesheets, images, backgrounds, local or remote) is refused. No scroll bars, no border,
// no selection; mouse events go on to the parent.
class TPageView : public QWidget {
  public:
    explicit TPageView(QWidget* parent = nullptr);
    ~TPageView() override;

    // Shows the UTF-8 page at path. An unreadable file changes nothing, completes nothing and
    // gives false.
    bool Navigate(const std::string& path);
    // Shows a page held in memory, as Navigate shows a file.
    void ShowPage(const std::string& html);
    // Called from the event loop after a navigation's page is laid out; of navigations that
    // follow each other quickly only the latest completes.
    std::function<void()> OnDocumentComplete;

    // The height the content needs at the current width, body margins included (a short page
    // reports less than the view's height).
    int ScrollHeight() const;
    // The view's width, or the content's when it is wider (a wide image).
    int ScrollWidth() const;

    // A string kept for the owner (the card keeps its item's link here); never shown.
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }

    // Sees every resource the page asked for and was refused (tests check that nothing is
    // read).
    std::function<void(const QUrl& name)> OnResourceRequest;

    // The page's document, or null before the first navigation; for tests.
    QTextDocument* Document() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    class TDocument;
    void LayOut() const;
    void Render();

    std::unique_ptr<TDocument> document_;
    mutable int laidOutWidth_ = -1;
    QColor background_{Qt::white};
    QImage rendered_;
    std::string hint_;
    unsigned serial_ = 0;
};

}  // namespace pelwick
