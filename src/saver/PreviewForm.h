#pragma once

#include <QWidget>

namespace pelwick {

// The small window shown in the display settings' preview area.
class TPreviewForm : public QWidget {
    Q_OBJECT

  public:
    static constexpr int FormWidth = 234;
    static constexpr int FormHeight = 225;

    explicit TPreviewForm(QWidget* parent = nullptr);
};

}  // namespace pelwick
