#pragma once

#include "Cumulo/Types.h"

#include <memory>
#include <nlohmann/json.hpp>

namespace Tunewell {
class WindowCloud;
}

namespace Tunewell::Testing {

// The cloud answers members in its own key order: tests compare values without member order.
nlohmann::json Unordered(const Cumulo::TJSONValue &Value);

// Direct access to the local cloud's nodes with the service account, to set up and to check
// what a window wrote.
class CloudNodes {
public:
    CloudNodes();
    ~CloudNodes();
    // JSON null for a missing node.
    nlohmann::json Get(const Cumulo::TStringDynArray &Path);
    void Put(const Cumulo::TStringDynArray &Path, const Cumulo::TJSONValue &Value);

private:
    class Lines;
    std::unique_ptr<Lines> fLog;
    std::unique_ptr<WindowCloud> fCloud;
};

} // namespace Tunewell::Testing
