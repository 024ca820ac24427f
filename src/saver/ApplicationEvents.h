#pragma once

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QObject>
#include <functional>

class QEvent;

namespace pelwick {

// The application with its top-level error handler: an error that no event handler caught
// shows its message in a message box, and the program goes on.
class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an error's message in a message box over the active window.
void ShowErrorMessage(const std::exception_ptr& error);

// An application-wide hook for input: every key press, mouse move and mouse button press
// reaches OnMessage once, before it is delivered to any widget (it is seen at the window,
// where the platform hands it over). Setting handled swallows the event. Errors of the
// handler go to the application's error handler. On Windows it also swallows the system's
// request to start a screen saver while this one runs.
class TApplicationEvents : public QObject, public QAbstractNativeEventFilter {
  public:
    using TMessageEvent = std::function<void(QEvent* event, bool& handled)>;

    explicit TApplicationEvents(TMessageEvent onMessage);
    ~TApplicationEvents() override;

    TMessageEvent OnMessage;

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
};

}  // namespace pelwick
