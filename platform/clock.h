#pragma once
// The clock and the tick count, both replaceable by tests.

#include <cstdint>
#include <functional>

#include "common/runtime.h"

namespace platform {

// The current local date and time.
rt::DateTime Now();
// Milliseconds since the system started, wrapping at 2^32 as the platform's does.
uint32_t TickCount();

// Test clocks: while set, Now and TickCount answer from them.
void SetTestClock(std::function<rt::DateTime()> now, std::function<uint32_t()> ticks = {});
void ClearTestClock();

// A manual clock for tests: starts at a given time and moves only when told.
class ManualClock {
public:
    explicit ManualClock(rt::DateTime start);
    ~ManualClock();
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;
    void Advance(double seconds);
    rt::DateTime Current() const { return now_; }

private:
    rt::DateTime now_;
    uint32_t ticks_ = 1000;
};

}  // namespace platform
