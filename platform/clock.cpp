#include "platform/clock.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace platform {
namespace {
std::function<rt::DateTime()> g_testNow;
std::function<uint32_t()> g_testTicks;
}  // namespace

rt::DateTime Now() {
    if (g_testNow) return g_testNow();
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return rt::DateTime::FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                   local.tm_min, local.tm_sec);
}

uint32_t TickCount() {
    if (g_testTicks) return g_testTicks();
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void SetTestClock(std::function<rt::DateTime()> now, std::function<uint32_t()> ticks) {
    g_testNow = std::move(now);
    g_testTicks = std::move(ticks);
}

void ClearTestClock() {
    g_testNow = nullptr;
    g_testTicks = nullptr;
}

ManualClock::ManualClock(rt::DateTime start) : now_(start) {
    SetTestClock([this] { return now_; }, [this] { return ticks_; });
}

ManualClock::~ManualClock() { ClearTestClock(); }

void ManualClock::Advance(double seconds) {
    now_ = now_.AddSeconds(seconds);
    ticks_ += static_cast<uint32_t>(std::llround(seconds * 1000.0));
}

}  // namespace platform
