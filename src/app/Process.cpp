#include "app/Process.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

namespace pelwick {

namespace {

THaltHandler& HaltHandler() {
    static THaltHandler handler;
    return handler;
}

TSleepHandler& SleepHandler() {
    static TSleepHandler handler;
    return handler;
}

std::mt19937& Generator() {
    static std::mt19937 generator;
    return generator;
}

}  // namespace

void Halt(int exitCode) {
    if (HaltHandler()) {
        HaltHandler()(exitCode);
        return;
    }
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

THaltHandler SetHaltHandler(THaltHandler handler) {
    THaltHandler previous = std::move(HaltHandler());
    HaltHandler() = std::move(handler);
    return previous;
}

void SleepMs(int ms) {
    if (SleepHandler()) {
        SleepHandler()(ms);
        return;
    }
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TSleepHandler SetSleepHandler(TSleepHandler handler) {
    TSleepHandler previous = std::move(SleepHandler());
    SleepHandler() = std::move(handler);
    return previous;
}

void Randomize() {
    RandSeed(std::uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
             std::uint32_t(std::chrono::system_clock::now().time_since_epoch().count()));
}

void RandSeed(std::uint32_t seed) {
    Generator().seed(seed);
}

int Random(int n) {
    if (n <= 0) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(Generator());
}

}  // namespace pelwick
