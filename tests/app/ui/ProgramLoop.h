#pragma once

#include <functional>

namespace Tunewell::Testing {

// Runs Action inside the application's own event loop, as the program runs its handlers, and
// returns when Action is done or has ended the program. An end requested inside (quit, exit)
// affects this loop only: later waits of the suite work as before.
void RunAsTheProgram(const std::function<void()> &Action);

} // namespace Tunewell::Testing
