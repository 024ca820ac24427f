#include "options/ConfigForm.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Exception.h"
#include "app/Settings.h"

namespace pelwick {

TConfigForm::TConfigForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint),
      saveButton_(new QPushButton("Save", this)),
      cancelButton_(new QPushButton("Cancel", this)) {
    setWindowTitle("Options");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(420, 319);
    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveClick(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { CancelClick(); });
    ShowError = [this](const std::string& message) {
        QMessageBox::critical(this, "Pelwick", QString::fromStdString(message));
    };
}

void TConfigForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    FormShow();
}

void TConfigForm::FormShow() {
    if (!SettingsFile) LoadSettings();
}

void TConfigForm::SaveClick() {
    try {
        SaveSettings();
    } catch (const Exception& e) {
        // The dialog stays open so that nothing the user set is lost.
        ShowError(e.Message());
        return;
    }
    close();
}

void TConfigForm::CancelClick() {
    close();
}

}  // namespace pelwick
