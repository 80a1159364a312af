#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace Tunewell::Testing {

// What GStreamer makes of a file: its discoverer's verdict and duration, and whether a pipeline
// that demuxes and decodes it reaches its end without an error.
struct GStreamerVerdict {
    bool Discovered = false;
    std::int64_t DurationNs = 0;
    bool PlayedToTheEnd = false;
    // The first error, from either.
    std::string Error;
};

GStreamerVerdict PlayedByGStreamer(const std::filesystem::path &File);

} // namespace Tunewell::Testing
