// TForm1, the saver window: its keyboard and mouse policy. Every input event of the
// application passes ApplicationEvents1Message first; the keys pause, step through items and
// feeds or open the current link, and the rest ends the run as the exit options say.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/Settings.h"
#include "app/Strings.h"
#include "saver/Browser.h"
#include "saver/SaverWindow.h"

namespace pelwick {

std::int32_t MouseMoves = 20;

namespace {

constexpr int VkReturn = 13;
constexpr int VkEscape = 27;
constexpr int VkSpace = 32;
constexpr int VkLeft = 37;
constexpr int VkUp = 38;
constexpr int VkRight = 39;
constexpr int VkDown = 40;

constexpr const char* PauseText =
    "  Pause scrolling: press spacebar to continue.  [UP key: Previous item;  DOWN: Next "
    "item; LEFT: Previous RSS feed; RIGHT: Next RSS feed]";

// The keys the saver knows by their virtual-key codes; every other key gets -1.
int VirtualKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VkReturn;
        case Qt::Key_Escape:
            return VkEscape;
        case Qt::Key_Space:
            return VkSpace;
        case Qt::Key_Left:
            return VkLeft;
        case Qt::Key_Up:
            return VkUp;
        case Qt::Key_Right:
            return VkRight;
        case Qt::Key_Down:
            return VkDown;
        default:
            return -1;
    }
}

}  // namespace

void TForm1::MouseTimerTimer() {
    MouseMoves = 20;
}

void TForm1::ApplicationEvents1Message(QEvent* event, bool& handled) {
    (void)handled;  // input is never swallowed: after the hook it is delivered as usual
    if (!isVisible() || hosted_) return;
    // A message box of ours is up: what the user types or clicks is the box's. The mouse
    // that went to the box does not count towards ending the saver afterwards.
    if (QApplication::activeModalWidget()) {
        modalSeen_ = true;
        return;
    }
    if (modalSeen_) {
        modalSeen_ = false;
        MouseMoves = 20;
    }
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<const QKeyEvent*>(event);
            const int vk = VirtualKey(*key);
            HandleKey(vk);
            break;
        }
        case QEvent::MouseMove:
            HandleMouseMove();
            break;
        case QEvent::MouseButtonPress:
            HandleMouseDown(static_cast<const QMouseEvent*>(event)->button());
            break;
        default:
            break;
    }
}

void TForm1::HandleKey(int key) {
    switch (key) {
        case VkReturn: {
            // Only a web link is handed to the desktop; anything else counts as no link. Feeds
            // often wrap the link element's text in line breaks, which are no part of it.
            const std::string link = WebLink(TrimBlanks(CurrentLink()));
            if (!link.empty()) OpenInBrowser(link);
            QuitSaver();
            return;
        }
        case VkSpace:
            Paused = !Paused;
            Panel2->SetText(PauseText);
            SetStatusVisible(Paused);
            return;
        case VkUp:
            ShowItem(CurItem - 1);
            return;
        case VkDown:
            ShowItem(CurItem + 1);
            return;
        case VkLeft:
            HidePanel();
            LoadFeed(CurFeed - 1);
            return;
        case VkRight:
            HidePanel();
            LoadFeed(CurFeed + 1);
            return;
        default:
            ExitOnKey(key);
    }
}

void TForm1::ExitOnKey(int key) {
    const TRssSaverOptions& o = SaverOptions;
    if (o.OnlyEscKeyExit) {
        if (key == VkEscape) QuitSaver();
        return;
    }
    if (o.ShowCursor || o.KeyboardPressExit || NoExitOptionSet()) QuitSaver();
}

void TForm1::HandleMouseMove() {
    const TRssSaverOptions& o = SaverOptions;
    if (o.ShowCursor || o.OnlyEscKeyExit || !o.MouseMoveExit) return;
    // Twenty moves within one period of the mouse timer are a jolt; the next one ends it.
    if (MouseMoves > 0)
        --MouseMoves;
    else
        QuitSaver();
}

void TForm1::HandleMouseDown(int button) {
    const TRssSaverOptions& o = SaverOptions;
    if (o.ShowCursor || o.OnlyEscKeyExit || !o.MousePressExit) return;
    if (button == Qt::LeftButton || button == Qt::RightButton) QuitSaver();
}

}  // namespace pelwick
