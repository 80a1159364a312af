#pragma once

#include <Cumulo/Types.h>
#include <nlohmann/json.hpp>
#include <string>

// What one listener knows of its node: the first "put" at the root, then every change applied.
class ListenerView {
public:
    // Applies a "put" or "patch" event ({"path": ..., "data": ...}); other events change nothing.
    void Apply(const std::string &Event, const Cumulo::TJSONValue &Object);
    // The node as the listener sees it, members sorted, for comparison with a read.
    const nlohmann::json &Value() const { return fValue; }
    // How many times the whole node arrived: once per connection.
    int Connections() const { return fConnections; }
    int Events() const { return fEvents; }

private:
    void Set(const std::string &Path, const nlohmann::json &Data);

    nlohmann::json fValue;
    int fConnections = 0;
    int fEvents = 0;
};
