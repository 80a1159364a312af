// The station-list line cutter on arbitrary lines.
#include "help/core/StationLine.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    Tunewell::CutStationLine(
        QString::fromUtf8(reinterpret_cast<const char *>(Data), static_cast<qsizetype>(Size)));
    return 0;
}
