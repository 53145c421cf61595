#pragma once

#include <functional>

// The beep of the edit controls for refused or corrected input. Tests replace
// the handler to count beeps; by default it is QApplication::beep().
namespace ControlBeep {

void beep();
// An empty handler restores the default.
void setHandler(std::function<void()> handler);

} // namespace ControlBeep
