#include "BenchFigures.h"

#include <algorithm>
#include <cstdio>

namespace TunewellBench {

void BenchFigures::Set(const std::string &Name, const std::string &Value) {
    const std::lock_guard lock(Mutex_);
    // One line each: a value's own line ends would be read as figures of their own.
    std::string line = Value;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    const auto figure =
        std::find_if(Figures_.begin(), Figures_.end(), [&](const auto &F) { return F.first == Name; });
    if (figure == Figures_.end())
        Figures_.emplace_back(Name, line);
    else
        figure->second = line;
}

void BenchFigures::Set(const std::string &Name, long long Value) {
    Set(Name, std::to_string(Value));
}

void BenchFigures::Print() {
    const std::lock_guard lock(Mutex_);
    if (Printed_)
        return;
    Printed_ = true;
    for (const auto &[name, value] : Figures_)
        std::printf("%s: %s\n", name.c_str(), value.c_str());
    std::fflush(stdout);
}

} // namespace TunewellBench
