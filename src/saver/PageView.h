#pragma once
#include <QTextDocument>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
namespace pelwick {
class TPageView : public QWidget {
  public:
    explicit TPageView(QWidget* parent = nullptr);
    void Navigate(const std::string& path);
    std::function<void()> OnDocumentComplete;
    int ScrollHeight() const;
    int ScrollWidth() const;
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    std::string hint_;
    std::unique_ptr<QTextDocument> doc_;
};
}  // namespace pelwick
