#include "SoakOptions.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Usage(int Status) {
    std::fprintf(Status == 0 ? stdout : stderr,
                 "usage: bench_soak [--seconds N] [--writers N] [--listeners N] [--kills N] [--writes N] "
                 "[--pause-ms N]\n"
                 "defaults: 300 s, 20 writers, 50 listeners, 3 kills, 3000 writes per writer, 20 ms pause\n");
    std::exit(Status);
}

} // namespace

SoakOptions ParseSoakOptions(int argc, char **argv) {
    SoakOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help") {
            Usage(0);
        }
        if (i + 1 >= argc) {
            Usage(2);
        }
        char *end = nullptr;
        const long value = std::strtol(argv[++i], &end, 10);
        if (*end != '\0' || value < 0 || value > 1000000) {
            Usage(2);
        }
        const int number = static_cast<int>(value);
        if (name == "--seconds") {
            options.duration = std::chrono::seconds(number);
        } else if (name == "--writers") {
            options.writers = number;
        } else if (name == "--listeners") {
            options.listeners = number;
        } else if (name == "--kills") {
            options.kills = number;
        } else if (name == "--writes") {
            options.writesPerWriter = number;
        } else if (name == "--pause-ms") {
            options.pause = std::chrono::milliseconds(number);
        } else {
            Usage(2);
        }
    }
    return options;
}
