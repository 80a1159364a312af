#include "Cumulo/NodeAddress.h"

#include "Cumulo/Exceptions.h"

#include <algorithm>
#include <vector>

namespace Cumulo {

namespace {

// Walked with a stack of our own: a deeply nested value must not exhaust the call stack.
bool HasEmptyMemberName(const TJSONValue &Data) {
    std::vector<const TJSONValue *> pending{&Data};
    while (!pending.empty()) {
        const TJSONValue &value = *pending.back();
        pending.pop_back();
        if (value.is_object()) {
            for (const auto &[name, member] : value.items()) {
                if (name.empty())
                    return true;
                pending.push_back(&member);
            }
        } else if (value.is_array()) {
            for (const auto &element : value)
                pending.push_back(&element);
        }
    }
    return false;
}

} // namespace

void CheckNodeAddress(const TStringDynArray &ResourceParams, const TJSONValue *Data) {
    // "a//b" would reach a/b, and an empty last segment the parent once ".json" is added to it.
    if (std::any_of(ResourceParams.begin(), ResourceParams.end(),
                    [](const std::string &Segment) { return Segment.empty(); }))
        throw EInvalidRequest("Empty segment in the database path: the request is not sent");
    if (Data && HasEmptyMemberName(*Data))
        throw EInvalidRequest("Empty member name in the data: the request is not sent");
}

} // namespace Cumulo
