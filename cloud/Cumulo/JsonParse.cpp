#include "Cumulo/JsonParse.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Cumulo {

namespace {

using TMembers = std::vector<std::pair<const std::string, TJSONValue>>;

// Small objects are searched linearly; larger ones get a key index on first need.
constexpr std::size_t kIndexThreshold = 16;

struct TOpenContainer {
    TJSONValue *Value;
    std::unordered_map<std::string, std::size_t> KeyIndex;
};

class TOrderedBuilder {
public:
    using number_integer_t = TJSONValue::number_integer_t;
    using number_unsigned_t = TJSONValue::number_unsigned_t;
    using number_float_t = TJSONValue::number_float_t;
    using string_t = TJSONValue::string_t;
    using binary_t = TJSONValue::binary_t;

    bool null() { return Put(TJSONValue(nullptr)); }
    bool boolean(bool Value) { return Put(TJSONValue(Value)); }
    bool number_integer(number_integer_t Value) { return Put(TJSONValue(Value)); }
    bool number_unsigned(number_unsigned_t Value) { return Put(TJSONValue(Value)); }
    bool number_float(number_float_t Value, const string_t &) { return Put(TJSONValue(Value)); }
    bool string(string_t &Value) { return Put(TJSONValue(std::move(Value))); }
    bool binary(binary_t &Value) { return Put(TJSONValue::binary(std::move(Value))); }

    bool start_object(std::size_t) {
        if (fOpen.size() >= MaxJSONNesting)
            return false;
        TJSONValue *slot = Slot(TJSONValue::object());
        fOpen.push_back({slot, {}});
        return true;
    }
    bool end_object() {
        fOpen.pop_back();
        return true;
    }
    bool start_array(std::size_t) {
        if (fOpen.size() >= MaxJSONNesting)
            return false;
        TJSONValue *slot = Slot(TJSONValue::array());
        fOpen.push_back({slot, {}});
        return true;
    }
    bool end_array() {
        fOpen.pop_back();
        return true;
    }
    bool key(string_t &Key) {
        fPendingKey = std::move(Key);
        return true;
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) { return false; }

    TJSONValue Result() { return std::move(fRoot); }

private:
    bool Put(TJSONValue &&Value) {
        Slot(std::move(Value));
        return true;
    }

    // Places a value where the parse stands and returns its address; it stays valid while
    // the value is open, because its parent gains no members before the value is closed.
    TJSONValue *Slot(TJSONValue &&Value) {
        if (fOpen.empty()) {
            fRoot = std::move(Value);
            return &fRoot;
        }
        TOpenContainer &open = fOpen.back();
        if (open.Value->is_array()) {
            auto &items = open.Value->get_ref<TJSONValue::array_t &>();
            items.push_back(std::move(Value));
            return &items.back();
        }
        auto &members = static_cast<TMembers &>(open.Value->get_ref<TJSONValue::object_t &>());
        if (TJSONValue *existing = Existing(open, members)) {
            *existing = std::move(Value);
            return existing;
        }
        if (!open.KeyIndex.empty() || members.size() >= kIndexThreshold) {
            if (open.KeyIndex.empty())
                for (std::size_t i = 0; i < members.size(); ++i)
                    open.KeyIndex.emplace(members[i].first, i);
            open.KeyIndex.emplace(fPendingKey, members.size());
        }
        members.emplace_back(std::move(fPendingKey), std::move(Value));
        return &members.back().second;
    }

    TJSONValue *Existing(TOpenContainer &Open, TMembers &Members) {
        if (!Open.KeyIndex.empty()) {
            const auto found = Open.KeyIndex.find(fPendingKey);
            return found == Open.KeyIndex.end() ? nullptr : &Members[found->second].second;
        }
        for (auto &member : Members)
            if (member.first == fPendingKey)
                return &member.second;
        return nullptr;
    }

    TJSONValue fRoot;
    std::vector<TOpenContainer> fOpen;
    std::string fPendingKey;
};

} // namespace

TOptionalJSON ParseJSON(std::string_view Text) {
    TOrderedBuilder builder;
    if (!TJSONValue::sax_parse(Text, &builder))
        return std::nullopt;
    return builder.Result();
}

} // namespace Cumulo
