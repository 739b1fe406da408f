#pragma once
// Processing of pending window messages. The application registers its event
// pump (Qt's event processing); without one, DoEvents does nothing. Tests
// register scripted actions to reproduce events arriving during a yield.

#include <functional>

namespace platform {

using EventPump = std::function<void()>;

void DoEvents();
// Whether a pump is installed: without one DoEvents does nothing.
bool EventPumpInstalled();
// Installs a pump and returns the one it replaces.
EventPump SetEventPump(EventPump pump);

// Restores the previous pump when it leaves scope.
class ScopedEventPump {
public:
    explicit ScopedEventPump(EventPump pump) : previous_(SetEventPump(std::move(pump))) {}
    ~ScopedEventPump() { SetEventPump(std::move(previous_)); }
    ScopedEventPump(const ScopedEventPump&) = delete;
    ScopedEventPump& operator=(const ScopedEventPump&) = delete;

private:
    EventPump previous_;
};

// The mouse pointer: the application installs a hook that shows the hourglass.
enum class MousePointer { Default = 0, Hourglass = 11 };
MousePointer GetMousePointer();
void SetMousePointer(MousePointer pointer);
void SetMousePointerHook(std::function<void(MousePointer)> hook);

}  // namespace platform
