#include "Cumulo/Log.h"

#include <cstdio>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#endif

namespace Cumulo {

namespace {

void DefaultSink(const std::string &Line) {
#ifdef _WIN32
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, Line.data(), static_cast<int>(Line.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, Line.data(), static_cast<int>(Line.size()), wide.data(), length);
    OutputDebugStringW(wide.c_str());
#else
    const std::string whole = Line + '\n';
    std::fwrite(whole.data(), 1, whole.size(), stderr);
    std::fflush(stderr);
#endif
}

struct TLogState {
    std::mutex Mutex;
    TLogSink Sink = DefaultSink;
};

TLogState &State() {
    static TLogState state;
    return state;
}

} // namespace

std::string RedactCredentials(std::string_view Line) {
    static constexpr std::string_view kKey = "auth=";
    static constexpr std::string_view kRedacted = "<redacted>";
    std::string out;
    out.reserve(Line.size());
    std::size_t pos = 0;
    while (pos < Line.size()) {
        const std::size_t found = Line.find(kKey, pos);
        if (found == std::string_view::npos) {
            out.append(Line.substr(pos));
            break;
        }
        const std::size_t valueStart = found + kKey.size();
        out.append(Line.substr(pos, valueStart - pos));
        pos = valueStart;
        if (found == 0 || (Line[found - 1] != '?' && Line[found - 1] != '&'))
            continue;
        // The value ends with the parameter, the URL, or the ": " that follows a logged URL; an
        // encoded token never holds a colon.
        static constexpr std::string_view kValueEnd = "&#\":";
        std::size_t valueEnd = valueStart;
        while (valueEnd < Line.size() && static_cast<unsigned char>(Line[valueEnd]) > ' ' &&
               kValueEnd.find(Line[valueEnd]) == std::string_view::npos)
            ++valueEnd;
        if (valueEnd > valueStart)
            out.append(kRedacted);
        pos = valueEnd;
    }
    return out;
}

void WriteLog(std::string_view Line) {
    const std::string line = RedactCredentials(Line);
    auto &state = State();
    std::lock_guard lock(state.Mutex);
    state.Sink(line);
}

TLogSink SetLogSink(TLogSink Sink) {
    auto &state = State();
    std::lock_guard lock(state.Mutex);
    TLogSink previous = std::move(state.Sink);
    state.Sink = Sink ? std::move(Sink) : TLogSink(DefaultSink);
    return previous;
}

} // namespace Cumulo
