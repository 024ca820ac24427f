#include "app/ExceptionHandler.h"

#include <cstdio>
#include <mutex>

namespace pelwick {

namespace {

std::mutex& HandlerLock() {
    static std::mutex lock;
    return lock;
}

TExceptionHandler& Handler() {
    static TExceptionHandler handler;
    return handler;
}

void PrintToStderr(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pelwick: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "pelwick: unknown error\n");
    }
}

}  // namespace

void ApplicationHandleException(const std::exception_ptr& error) {
    if (!error) return;
    TExceptionHandler handler;
    {
        std::lock_guard lock(HandlerLock());
        handler = Handler();
    }
    if (handler)
        handler(error);
    else
        PrintToStderr(error);
}

TExceptionHandler SetApplicationExceptionHandler(TExceptionHandler handler) {
    std::lock_guard lock(HandlerLock());
    TExceptionHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

}  // namespace pelwick
