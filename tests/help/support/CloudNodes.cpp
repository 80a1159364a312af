#include "CloudNodes.h"

#include "LocalCloud.h"
#include "LocalCloudSession.h"

namespace Tunewell::Testing {

namespace {

std::string PathText(const Cumulo::TStringDynArray &Path) {
    std::string Text;
    for (const auto &Segment : Path)
        Text += (Text.empty() ? "" : "/") + Segment;
    return Text;
}

} // namespace

CloudNodes::CloudNodes(const LocalCloudSession &Session) : fSession(Session) {}

nlohmann::json Unordered(const Cumulo::TJSONValue &Value) {
    return nlohmann::json::parse(Value.dump());
}

nlohmann::json CloudNodes::Get(const Cumulo::TStringDynArray &Path) {
    return fSession.Cloud().read(PathText(Path));
}

void CloudNodes::Put(const Cumulo::TStringDynArray &Path, const Cumulo::TJSONValue &Value) {
    fSession.Cloud().seed(PathText(Path), Unordered(Value));
}

} // namespace Tunewell::Testing
