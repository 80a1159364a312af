#pragma once

#include <chrono>

struct SoakOptions {
    std::chrono::seconds duration{300};
    int writers = 20;
    int listeners = 50;
    int kills = 3;
    // Each writer stops after this many acknowledged writes, so the node stays bounded.
    int writesPerWriter = 3000;
    // Pause between two writes of one writer.
    std::chrono::milliseconds pause{20};
};

// Reads --seconds N, --writers N, --listeners N, --kills N, --writes N and --pause-ms N; prints the
// usage and exits on --help or a bad argument.
SoakOptions ParseSoakOptions(int argc, char **argv);
