#include "ServerMemory.h"

#include <fstream>
#include <string>

long ResidentKiB(pid_t Process) {
    std::ifstream status("/proc/" + std::to_string(Process) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}
