#include "app/core/VersionReader.h"

#include "app/core/NodeTextCursor.h"

#include <Cumulo/JsonText.h>

namespace Tunewell {

TPublishedVersion ReadVersion(const Cumulo::TJSONValue &Node) {
    return ReadVersionText(Cumulo::NodeText(Node));
}

TPublishedVersion ReadVersionText(std::string_view NodeText) {
    const std::string inner = InnerText(std::string(NodeText), true);
    TNodeTextCursor s(inner);
    s.HeadCut();
    TPublishedVersion published;
    s.Take("\"", 2);
    s.Take("\"", 1);
    published.Version = s.Take("\"", 1);
    s.Take(":,\"", 2);
    s.Take("\"", 1);
    s.Take(":", 1);
    s.Take("\"", 1);
    published.Url = s.Take("\"", 1);
    return published;
}

} // namespace Tunewell
