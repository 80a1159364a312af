#pragma once

#include "Cumulo/Types.h"

#include <nlohmann/json.hpp>

namespace Tunewell::Testing {

class LocalCloudSession;

// The cloud answers members in its own key order: tests compare values without member order.
nlohmann::json Unordered(const Cumulo::TJSONValue &Value);

// Direct access to the local cloud's nodes as the project's administrator, whom the security
// rules do not bind, to set up and to check what a window wrote.
class CloudNodes {
public:
    explicit CloudNodes(const LocalCloudSession &Session);
    // JSON null for a missing node.
    nlohmann::json Get(const Cumulo::TStringDynArray &Path);
    void Put(const Cumulo::TStringDynArray &Path, const Cumulo::TJSONValue &Value);

private:
    const LocalCloudSession &fSession;
};

} // namespace Tunewell::Testing
