#pragma once

namespace TunewellBench {

// Milliseconds since this process started, from the kernel's record of its start (10 ms steps):
// what a listener waits from the launch, loading and linking included.
long long MillisecondsSinceProcessStart();

} // namespace TunewellBench
