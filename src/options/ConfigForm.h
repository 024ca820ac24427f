#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QPushButton;

namespace pelwick {

// The options dialog. It loads the settings when first shown; Save writes them and closes,
// Cancel closes without writing.
class TConfigForm : public QWidget {
    Q_OBJECT

  public:
    explicit TConfigForm(QWidget* parent = nullptr);

    void FormShow();
    void SaveClick();
    void CancelClick();

    QPushButton* SaveButton() const { return saveButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

    // Shows a failure to the user; a message box unless replaced (tests).
    std::function<void(const std::string& message)> ShowError;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* saveButton_;
    QPushButton* cancelButton_;
    bool shownOnce_ = false;
};

}  // namespace pelwick
