#include "ListenerView.h"

namespace {

// "/" stands for the node itself; other paths are JSON pointers into it.
nlohmann::json::json_pointer PointerOf(const std::string &Path) {
    return nlohmann::json::json_pointer(Path == "/" ? "" : Path);
}

} // namespace

void ListenerView::Apply(const std::string &Event, const Cumulo::TJSONValue &Object) {
    if (Event != "put" && Event != "patch") {
        return;
    }
    ++fEvents;
    const std::string path = Object.at("path").get<std::string>();
    // The plain json type sorts members, so equal nodes compare equal whatever their order.
    const auto data = nlohmann::json::parse(Object.at("data").dump());
    if (Event == "put") {
        if (path == "/") {
            ++fConnections;
        }
        Set(path, data);
        return;
    }
    for (const auto &[name, value] : data.items()) {
        Set(path == "/" ? "/" + name : path + "/" + name, value);
    }
}

void ListenerView::Set(const std::string &Path, const nlohmann::json &Data) {
    const auto pointer = PointerOf(Path);
    if (!Data.is_null()) {
        fValue[pointer] = Data;
        return;
    }
    if (pointer.empty()) {
        fValue = nullptr;
    } else if (fValue.contains(pointer)) {
        fValue[pointer.parent_pointer()].erase(pointer.back());
    }
}
