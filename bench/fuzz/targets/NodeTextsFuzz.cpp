// Node readers on arbitrary node texts, well formed or not.
#include "app/core/CatalogueReader.h"
#include "app/core/FavouritesReader.h"
#include "app/core/LastStationReader.h"
#include "app/core/StationTable.h"
#include "app/core/VersionReader.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    const std::string_view text(reinterpret_cast<const char *>(Data), Size);
    try {
        Tunewell::TStationTable catalogue;
        Tunewell::ReadCatalogueText(text, catalogue);
        Tunewell::ReadFavouritesText(text, catalogue);
    } catch (const std::runtime_error &) {
    }
    try {
        Tunewell::ReadLastSerieText(text);
        Tunewell::ReadVersionText(text);
    } catch (const std::runtime_error &) {
    }
    return 0;
}
