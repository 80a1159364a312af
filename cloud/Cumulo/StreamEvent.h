#pragma once

#include <string>

namespace Cumulo {

// One complete event of an event stream: its name and its data lines joined with line feeds.
struct TStreamEvent {
    std::string Name;
    std::string Data;

    bool operator==(const TStreamEvent &) const = default;
};

} // namespace Cumulo
