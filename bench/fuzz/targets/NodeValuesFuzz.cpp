// Node readers on arbitrary node values: any JSON the cloud may hold under the program's nodes.
#include "app/core/CatalogueReader.h"
#include "app/core/FavouritesReader.h"
#include "app/core/LastStationReader.h"
#include "app/core/StationTable.h"
#include "app/core/VersionReader.h"

#include <Cumulo/JsonParse.h>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    const std::string_view text(reinterpret_cast<const char *>(Data), Size);
    const auto node = Cumulo::ParseJSON(text);
    if (!node) {
        return 0;
    }
    // A missing member or a value that does not fit a field is the readers' own error.
    try {
        Tunewell::TStationTable catalogue;
        Tunewell::ReadCatalogue(*node, catalogue);
        Tunewell::ReadFavourites(*node, catalogue);
    } catch (const std::runtime_error &) {
    }
    try {
        Tunewell::ReadLastSerie(*node);
        Tunewell::ReadVersion(*node);
    } catch (const std::runtime_error &) {
    }
    return 0;
}
