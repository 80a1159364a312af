#include "Cumulo/Interfaces.h"

#include "Cumulo/JsonText.h"

namespace Cumulo {

std::optional<std::string> IRealTimeDB::GetNodeTextSynchronous(const TStringDynArray &ResourceParams) {
    const TOptionalJSON value = GetSynchronous(ResourceParams);
    if (!value)
        return std::nullopt;
    return NodeText(*value);
}

} // namespace Cumulo
