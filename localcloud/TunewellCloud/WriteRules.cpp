#include "TunewellCloud/WriteRules.h"

#include "TunewellCloud/RequestError.h"
#include "TunewellCloud/TreeNode.h"
#include "TunewellCloud/UrlCoding.h"
#include "TunewellCloud/Utf8.h"

namespace TunewellCloud::WriteRules {

const char *const kInvalidData = "Invalid data; couldn't parse JSON object, array, or value.";
const char *const kInvalidKey = "Invalid data; keys must be non-empty, at most 768 bytes long, and must not "
                                "contain '.', '$', '#', '[', ']', '/' or control characters.";
const char *const kInvalidPath = "Invalid path: segments must be non-empty, at most 768 bytes long, and must "
                                 "not contain '.', '$', '#', '[', ']' or control characters.";
const char *const kTooDeep = "Invalid data; the data is nested more than 32 levels deep.";
const char *const kNotAnObject =
    "Invalid data; couldn't parse JSON object. Are you sending a JSON object with valid key names?";

namespace {

bool isServerValue(const Json &value) {
    return value.is_object() && value.contains(".sv");
}

} // namespace

bool validUtf8(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size())
        if (!Utf8::nextCharacter(text, at))
            return false;
    return true;
}

bool validKey(std::string_view key) {
    if (key.empty() || key.size() > kLongestKey || !validUtf8(key))
        return false;
    for (const char c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '.' || c == '$' || c == '#' || c == '[' || c == ']' ||
            c == '/')
            return false;
    }
    return true;
}

NodePath parseRequestPath(std::string_view rawPath) {
    constexpr std::string_view suffix = ".json";
    if (rawPath.size() < suffix.size() || rawPath.substr(rawPath.size() - suffix.size()) != suffix)
        throw RequestError(404, "Not found: database paths end in .json");
    rawPath.remove_suffix(suffix.size());
    NodePath path;
    std::size_t start = 0;
    while (start <= rawPath.size()) {
        auto end = rawPath.find('/', start);
        if (end == std::string_view::npos)
            end = rawPath.size();
        const auto raw = rawPath.substr(start, end - start);
        if (!raw.empty()) {
            auto segment = UrlCoding::decode(raw);
            if (!segment || !validKey(*segment))
                throw RequestError(400, kInvalidPath);
            path.push_back(std::move(*segment));
        }
        start = end + 1;
    }
    if (path.size() > kDeepestNesting)
        throw RequestError(400, kInvalidPath);
    return path;
}

NodePath splitChildPath(std::string_view key) {
    NodePath path;
    std::size_t start = 0;
    while (start <= key.size()) {
        auto end = key.find('/', start);
        if (end == std::string_view::npos)
            end = key.size();
        const auto segment = key.substr(start, end - start);
        if (!segment.empty()) {
            if (!validKey(segment))
                throw RequestError(400, kInvalidKey);
            path.emplace_back(segment);
        }
        start = end + 1;
    }
    if (path.empty())
        throw RequestError(400, kInvalidKey);
    return path;
}

std::string joinPath(const NodePath &path) {
    std::string text;
    for (const auto &segment : path)
        text += "/" + segment;
    return text.empty() ? "/" : text;
}

Json parseBody(std::string_view body, std::size_t pathDepth) {
    // The parser recurses, so a hostile nesting must be refused before it runs.
    std::size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : body) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth + pathDepth > kDeepestNesting + 1)
                throw RequestError(400, kTooDeep);
        } else if ((c == '}' || c == ']') && depth > 0) {
            --depth;
        }
    }
    Json value = Json::parse(body, nullptr, false);
    if (value.is_discarded())
        throw RequestError(400, kInvalidData);
    return value;
}

void checkValue(const Json &value, std::size_t depth) {
    if (isServerValue(value)) {
        if (value.size() != 1)
            throw RequestError(400, kInvalidData);
        return;
    }
    if (!value.is_structured())
        return;
    if (depth > kDeepestNesting)
        throw RequestError(400, kTooDeep);
    if (value.is_object()) {
        for (const auto &[key, child] : value.items()) {
            if (!validKey(key))
                throw RequestError(400, kInvalidKey);
            checkValue(child, depth + 1);
        }
    } else {
        for (const auto &child : value)
            checkValue(child, depth + 1);
    }
}

void resolveServerValues(Json &value, const TreeNode *current, std::int64_t nowMilliseconds) {
    if (isServerValue(value)) {
        const Json &request = value.at(".sv");
        if (request == "timestamp") {
            value = nowMilliseconds;
            return;
        }
        if (request.is_object() && request.size() == 1 && request.contains("increment") &&
            request.at("increment").is_number()) {
            const Json &step = request.at("increment");
            const Json *base = current && current->children().empty() && current->leaf().is_number()
                                   ? &current->leaf()
                                   : nullptr;
            if (base == nullptr) {
                value = step;
            } else if (base->is_number_float() || step.is_number_float()) {
                value = base->get<double>() + step.get<double>();
            } else {
                value = base->get<std::int64_t>() + step.get<std::int64_t>();
            }
            return;
        }
        throw RequestError(400, "Invalid data; unknown server value: " + request.dump());
    }
    if (value.is_object()) {
        for (auto &[key, child] : value.items()) {
            const TreeNode *below = current ? current->find(std::span<const std::string>(&key, 1)) : nullptr;
            resolveServerValues(child, below, nowMilliseconds);
        }
    } else if (value.is_array()) {
        for (std::size_t index = 0; index < value.size(); ++index) {
            const std::string key = std::to_string(index);
            const TreeNode *below = current ? current->find(std::span<const std::string>(&key, 1)) : nullptr;
            resolveServerValues(value[index], below, nowMilliseconds);
        }
    }
}

} // namespace TunewellCloud::WriteRules
