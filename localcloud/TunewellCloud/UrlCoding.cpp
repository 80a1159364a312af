#include "TunewellCloud/UrlCoding.h"

namespace TunewellCloud::UrlCoding {

namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

std::optional<std::string> decode(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::optional<std::map<std::string, std::string>> decodeForm(std::string_view text) {
    std::map<std::string, std::string> form;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('&', start);
        if (end == std::string_view::npos)
            end = text.size();
        const auto pair = text.substr(start, end - start);
        if (!pair.empty()) {
            const auto equals = pair.find('=');
            auto name = decode(pair.substr(0, equals));
            auto value = equals == std::string_view::npos ? std::optional<std::string>("")
                                                          : decode(pair.substr(equals + 1));
            if (!name || !value)
                return std::nullopt;
            form[*name] = *value;
        }
        start = end + 1;
    }
    return form;
}

std::optional<std::map<std::string, std::string>> queryOf(std::string_view target) {
    const auto question = target.find('?');
    if (question == std::string_view::npos)
        return std::map<std::string, std::string>();
    return decodeForm(target.substr(question + 1));
}

} // namespace TunewellCloud::UrlCoding
