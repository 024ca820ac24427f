#include "saver/ApplicationEvents.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>

#include "app/ExceptionHandler.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace pelwick {

namespace {

std::string MessageOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error.";
    }
}

bool IsInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::KeyPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
            return true;
        default:
            return false;
    }
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    SetApplicationExceptionHandler(ShowErrorMessage);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        // The last resort: the user sees the message and the program carries on.
        ApplicationHandleException(std::current_exception());
        return false;
    }
}

void ShowErrorMessage(const std::exception_ptr& error) {
    if (!error) return;
    // The saver hides the cursor; the box must be usable with the mouse.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox::critical(QApplication::activeWindow(), QCoreApplication::applicationName(),
                          QString::fromStdString(MessageOf(error)));
    QGuiApplication::restoreOverrideCursor();
}

TApplicationEvents::TApplicationEvents(TMessageEvent onMessage) : OnMessage(std::move(onMessage)) {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installEventFilter(this);
        app->installNativeEventFilter(this);
    }
}

TApplicationEvents::~TApplicationEvents() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeNativeEventFilter(this);
        app->removeEventFilter(this);
    }
}

bool TApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
    // Input reaches the window first and is then passed on to widgets, each step through
    // this filter; taking it at the window sees every event exactly once.
    if (!watched->isWindowType() || !IsInput(*event) || !OnMessage) return false;
    bool handled = false;
    try {
        OnMessage(event, handled);
    } catch (...) {
        ApplicationHandleException(std::current_exception());
    }
    return handled;
}

bool TApplicationEvents::nativeEventFilter(const QByteArray& eventType, void* message,
                                           qintptr* result) {
#if defined(_WIN32)
    if (eventType == "windows_generic_MSG") {
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == SC_SCREENSAVE) {
            if (result) *result = 0;
            return true;
        }
    }
#else
    (void)eventType;
    (void)message;
    (void)result;
#endif
    return false;
}

}  // namespace pelwick
