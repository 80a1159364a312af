#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace Cumulo {

using TLogSink = std::function<void(const std::string &Line)>;

// Hands one diagnostic line to the installed sink. Safe from any thread; lines never
// interleave. The value of every "auth=" query parameter reads "<redacted>", because the
// ID token is a bearer credential.
void WriteLog(std::string_view Line);

// Installs the sink and returns the previous one; an empty sink restores the default, which
// writes each whole line to standard error (to OutputDebugStringW on Windows).
TLogSink SetLogSink(TLogSink Sink);

// The line with every "auth=" value that follows "?" or "&" replaced by "<redacted>".
std::string RedactCredentials(std::string_view Line);

} // namespace Cumulo
