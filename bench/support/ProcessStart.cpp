#include "ProcessStart.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace TunewellBench {

long long MillisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    // Field 22, counted from the state (field 3).
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    return static_cast<long long>((uptime - std::stod(field) / sysconf(_SC_CLK_TCK)) * 1000);
}

} // namespace TunewellBench
