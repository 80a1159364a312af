#include "CloudNodes.h"

#include "shared/core/WindowCloud.h"
#include "shared/core/WindowCloudCumuloClients.h"

#include <stdexcept>

namespace Tunewell::Testing {

class CloudNodes::Lines : public IWindowCloudLog {
public:
    void AddLine(const std::string &) override {}
    void Clear() override {}
};

CloudNodes::CloudNodes()
    : fLog(std::make_unique<Lines>()),
      fCloud(std::make_unique<WindowCloud>(*fLog, WindowCloudRole::Other,
                                           std::make_shared<WindowCloudCumuloClients>())) {
    const auto SignIn = fCloud->SignIn();
    if (!SignIn.Succeeded)
        throw std::runtime_error("the service account cannot sign in: " + SignIn.ErrorMessage);
}

CloudNodes::~CloudNodes() = default;

nlohmann::json Unordered(const Cumulo::TJSONValue &Value) {
    return nlohmann::json::parse(Value.dump());
}

nlohmann::json CloudNodes::Get(const Cumulo::TStringDynArray &Path) {
    const auto Value = fCloud->fRealTimeDB()->GetSynchronous(Path);
    return Value ? Unordered(*Value) : nlohmann::json(nullptr);
}

void CloudNodes::Put(const Cumulo::TStringDynArray &Path, const Cumulo::TJSONValue &Value) {
    fCloud->fRealTimeDB()->PutSynchronous(Path, Value);
}

} // namespace Tunewell::Testing
