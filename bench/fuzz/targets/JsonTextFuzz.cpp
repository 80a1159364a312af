// JSON text writers: every value the parser accepts is written in each form; the escaped forms
// must read back as the same value.
#include <Cumulo/JsonParse.h>
#include <Cumulo/JsonText.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void ExpectRoundTrip(const Cumulo::TJSONValue &Value, const std::string &Text) {
    const auto again = Cumulo::ParseJSON(Text);
    if (!again || *again != Value) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    const auto value = Cumulo::ParseJSON(std::string_view(reinterpret_cast<const char *>(Data), Size));
    if (!value) {
        return 0;
    }
    Cumulo::NodeText(*value);
    Cumulo::SimpleJsonText(*value);
    ExpectRoundTrip(*value, Cumulo::FullJsonText(*value));
    ExpectRoundTrip(*value, Cumulo::RequestBodyText(*value));
    return 0;
}
