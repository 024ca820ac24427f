#include "app/Signals.h"

#include <QSocketNotifier>
#include <atomic>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace pelwick {

namespace {

constexpr int Watched[] = {
#ifndef _WIN32
    SIGTERM, SIGINT, SIGHUP
#endif
};

// Written by the handler, so only what is safe there: a lock-free atomic and a pipe's end.
std::atomic<int> Received{0};
std::atomic<int> WriteEnd{-1};

#ifndef _WIN32
void Handle(int signal) {
    const int saved = errno;
    int none = 0;
    Received.compare_exchange_strong(none, signal);
    const int fd = WriteEnd.load();
    const unsigned char byte = static_cast<unsigned char>(signal);
    if (fd >= 0) (void)::write(fd, &byte, 1);
    errno = saved;
}
#endif

}  // namespace

TSignalWatch::TSignalWatch(std::function<void(int signal)> onSignal)
    : onSignal_(std::move(onSignal)) {
#ifndef _WIN32
    if (::pipe(pipe_) != 0) return;
    for (const int fd : pipe_) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    WriteEnd.store(pipe_[1]);
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Read(); });
    struct sigaction action {};
    action.sa_handler = Handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Watched)
        ::sigaction(signal, &action, nullptr);
#endif
}

TSignalWatch::~TSignalWatch() {
#ifndef _WIN32
    for (const int signal : Watched)
        ::signal(signal, SIG_DFL);
    WriteEnd.store(-1);
    notifier_.reset();
    for (const int fd : pipe_)
        if (fd >= 0) ::close(fd);
#endif
}

int TSignalWatch::StopRequested() {
    return Received.load();
}

void TSignalWatch::Read() {
#ifndef _WIN32
    unsigned char bytes[16];
    int last = 0;
    for (ssize_t n; (n = ::read(pipe_[0], bytes, sizeof bytes)) > 0;)
        last = bytes[n - 1];
    if (last && onSignal_) onSignal_(last);
#endif
}

}  // namespace pelwick
