#pragma once

#include <chrono>
#include <functional>

namespace TunewellBench {

// Runs an event loop of its own on the UI thread until Done holds (looked at every few
// milliseconds) or Limit has passed; returns Done's last answer. A loop of its own rather than
// the application's: the application's quit would close the window.
bool WaitUntil(const std::function<bool()> &Done, std::chrono::milliseconds Limit);
// Runs the event loop for Span.
void KeepRunning(std::chrono::milliseconds Span);

} // namespace TunewellBench
