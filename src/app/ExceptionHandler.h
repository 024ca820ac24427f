#pragma once

#include <exception>
#include <functional>

namespace pelwick {

// The application's last resort for failures that no caller handles (timer ticks, event
// handlers): by default the message goes to standard error and the program goes on.
void ApplicationHandleException(const std::exception_ptr& error);

using TExceptionHandler = std::function<void(std::exception_ptr error)>;
// Installs a handler (a message box in a window, a recorder in tests) and returns the previous
// one; an empty handler restores the default.
TExceptionHandler SetApplicationExceptionHandler(TExceptionHandler handler);

}  // namespace pelwick
