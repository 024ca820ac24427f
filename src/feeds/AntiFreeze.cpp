#include "feeds/AntiFreeze.h"

#include <QCoreApplication>
#include <QThread>

#include "app/Exception.h"

namespace pelwick {

namespace {
TAntiFreeze* instance = nullptr;
}

TAntiFreeze::TAntiFreeze() {
    if (instance) throw Exception("Only one TAntiFreeze can exist per process.");
    instance = this;
}

TAntiFreeze::~TAntiFreeze() {
    if (instance == this) instance = nullptr;
}

TAntiFreeze* TAntiFreeze::Instance() {
    return instance;
}

bool TAntiFreeze::DoProcess() {
    if (!instance || !instance->Active) return false;
    QCoreApplication* app = QCoreApplication::instance();
    // Only the UI thread may pump its events.
    if (!app || QThread::currentThread() != app->thread()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, MaxSliceMs);
    return true;
}

}  // namespace pelwick
