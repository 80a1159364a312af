#include "Cumulo/NodeTextOfJSON.h"

#include "Cumulo/JsonParse.h"
#include "Cumulo/JsonText.h"
#include "Cumulo/Types.h"

#include <cstdint>
#include <functional>
#include <unordered_set>
#include <vector>

namespace Cumulo {

namespace {

// Writes node text from the parser's events. A key repeated within one object is the one thing
// it cannot write as it goes (the value keeps the first place and takes the last value), so it
// stops there and the caller takes the slow road.
class TNodeTextWriter {
public:
    using number_integer_t = TJSONValue::number_integer_t;
    using number_unsigned_t = TJSONValue::number_unsigned_t;
    using number_float_t = TJSONValue::number_float_t;
    using string_t = TJSONValue::string_t;
    using binary_t = TJSONValue::binary_t;

    explicit TNodeTextWriter(std::size_t Expected) { fOut.reserve(Expected); }

    bool null() { return Token("null"); }
    bool boolean(bool Value) { return Token(Value ? "true" : "false"); }
    bool number_integer(number_integer_t Value) { return Token(TJSONValue(Value).dump()); }
    bool number_unsigned(number_unsigned_t Value) { return Token(TJSONValue(Value).dump()); }
    bool number_float(number_float_t Value, const string_t &) { return Token(TJSONValue(Value).dump()); }
    bool string(string_t &Value) {
        BeforeValue();
        Quoted(Value);
        return true;
    }
    bool binary(binary_t &) { return false; }

    bool start_object(std::size_t) { return Open('{'); }
    bool end_object() { return Close('}'); }
    bool start_array(std::size_t) { return Open('['); }
    bool end_array() { return Close(']'); }
    bool key(string_t &Key) {
        TContainer &object = fOpen[fDepth - 1];
        if (!object.AddKey(std::hash<std::string>{}(Key))) {
            // Perhaps only the same hash; either way the slow road decides.
            fRepeatedKey = true;
            return false;
        }
        if (!object.First)
            fOut += ',';
        object.First = false;
        Quoted(Key);
        fOut += ':';
        fAfterKey = true;
        return true;
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) { return false; }

    bool RepeatedKey() const { return fRepeatedKey; }
    std::string Result() { return std::move(fOut); }

private:
    // One open object or array. Kept for reuse when closed, so a catalogue's thousands of
    // records allocate nothing.
    struct TContainer {
        bool First = true;
        std::vector<std::size_t> Few;
        std::unordered_set<std::size_t> Many;

        void Reset() {
            First = true;
            Few.clear();
            Many.clear();
        }
        // False when the key's hash was seen before in this object.
        bool AddKey(std::size_t Hash) {
            if (!Many.empty())
                return Many.insert(Hash).second;
            for (std::size_t seen : Few)
                if (seen == Hash)
                    return false;
            Few.push_back(Hash);
            if (Few.size() > 16) {
                Many.insert(Few.begin(), Few.end());
                Few.clear();
            }
            return true;
        }
    };

    void BeforeValue() {
        if (fAfterKey) {
            fAfterKey = false;
            return;
        }
        if (fDepth > 0) {
            TContainer &open = fOpen[fDepth - 1];
            if (!open.First)
                fOut += ',';
            open.First = false;
        }
    }
    bool Token(std::string_view Text) {
        BeforeValue();
        fOut += Text;
        return true;
    }
    void Quoted(const std::string &Text) {
        fOut += '"';
        for (char c : Text) {
            if (c == '"')
                fOut += '\\';
            fOut += c;
        }
        fOut += '"';
    }
    bool Open(char Bracket) {
        if (fDepth >= MaxJSONNesting)
            return false;
        BeforeValue();
        fOut += Bracket;
        if (fOpen.size() == fDepth)
            fOpen.emplace_back();
        fOpen[fDepth++].Reset();
        return true;
    }
    bool Close(char Bracket) {
        --fDepth;
        fOut += Bracket;
        return true;
    }

    std::string fOut;
    std::vector<TContainer> fOpen;
    std::size_t fDepth = 0;
    bool fAfterKey = false;
    bool fRepeatedKey = false;
};

} // namespace

std::optional<std::string> NodeTextOfJSON(std::string_view Text) {
    TNodeTextWriter writer(Text.size());
    if (TJSONValue::sax_parse(Text, &writer))
        return writer.Result();
    if (!writer.RepeatedKey())
        return std::nullopt;
    const auto value = ParseJSON(Text);
    if (!value)
        return std::nullopt;
    return NodeText(*value);
}

} // namespace Cumulo
