// The local cloud's security rules on arbitrary rules files: the reader with its positions, the
// expression parser, and, for a file that parses, the evaluation of every rule it holds on the
// way to a few places of a small tree, for reads and for writes.
#include "TunewellCloud/RulesText.h"
#include "TunewellCloud/SecurityRules.h"
#include "TunewellCloud/TreeNode.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace TunewellCloud;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    static const auto Stored = TreeNode::fromJson(Json::parse(R"({"a": {"b": "x", "c": 1}, "d": true})"));
    static const auto Written = TreeNode::fromJson(Json::parse(R"({"b": "y", "e": {"f": "", "g": [1, 2]}})"));
    static const Json Auth = {{"uid", "u"}, {"provider", "password"}, {"token", {{"email", "e@x.org"}}}};
    try {
        const auto Rules =
            SecurityRules::fromText(std::string_view(reinterpret_cast<const char *>(Data), Size));
        for (const NodePath &Path : {NodePath{}, NodePath{"a"}, NodePath{"a", "b"}, NodePath{"z", "y"}}) {
            for (const Json *Caller : {&Auth, static_cast<const Json *>(nullptr)}) {
                const Json &Who = Caller ? *Caller : Json(nullptr);
                Rules.mayRead(*Stored, Path, Who, 0);
                Rules.mayWrite(*Stored, {{Path, Written.get()}}, Who, 0);
                Rules.mayWrite(*Stored, {{Path, nullptr}}, Who, 0);
            }
        }
    } catch (const RulesSyntaxError &) {
    }
    return 0;
}
