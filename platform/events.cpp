#include "platform/events.h"

namespace platform {
namespace {
EventPump& Pump() {
    static EventPump pump;
    return pump;
}
MousePointer g_pointer = MousePointer::Default;
std::function<void(MousePointer)>& PointerHook() {
    static std::function<void(MousePointer)> hook;
    return hook;
}
}  // namespace

void DoEvents() {
    if (!Pump()) return;
    // A copy, so that a pump which replaces itself while running stays alive.
    EventPump pump = Pump();
    if (pump) pump();
}

bool EventPumpInstalled() { return static_cast<bool>(Pump()); }

EventPump SetEventPump(EventPump pump) {
    EventPump previous = std::move(Pump());
    Pump() = std::move(pump);
    return previous;
}

MousePointer GetMousePointer() { return g_pointer; }

void SetMousePointer(MousePointer pointer) {
    g_pointer = pointer;
    if (PointerHook()) PointerHook()(pointer);
}

void SetMousePointerHook(std::function<void(MousePointer)> hook) { PointerHook() = std::move(hook); }

}  // namespace platform
