#include "app/core/LastStationReader.h"

#include "app/core/NodeTextCursor.h"

#include <Cumulo/JsonText.h>

namespace Tunewell {

std::string ReadLastSerie(const Cumulo::TJSONValue &Node) {
    return ReadLastSerieText(Cumulo::NodeText(Node));
}

std::string ReadLastSerieText(std::string_view NodeText) {
    const std::string inner = InnerText(std::string(NodeText), false);
    TNodeTextCursor s(inner);
    s.HeadCut();
    s.Take("\"", 2);
    s.Take("\"", 1);
    return std::string(s.Take("\"", 1));
}

} // namespace Tunewell
