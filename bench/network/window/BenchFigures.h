#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace TunewellBench {

// The figures of one run, printed once as "name: value" lines in the order first set: by the UI
// thread at the run's end, or by the cap's thread when a phase ran past its cap. Any thread.
class BenchFigures {
public:
    void Set(const std::string &Name, const std::string &Value);
    void Set(const std::string &Name, long long Value);
    // Prints and flushes every figure, unless printed already.
    void Print();

private:
    std::mutex Mutex_;
    std::vector<std::pair<std::string, std::string>> Figures_;
    bool Printed_ = false;
};

} // namespace TunewellBench
