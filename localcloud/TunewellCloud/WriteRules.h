#pragma once

#include "TunewellCloud/Json.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace TunewellCloud {

class TreeNode;

using NodePath = std::vector<std::string>;

// What the database accepts as keys, paths and values, and the server values it fills in.
namespace WriteRules {

inline constexpr std::size_t kLongestKey = 768;
inline constexpr std::size_t kDeepestNesting = 32;

extern const char *const kInvalidData;
extern const char *const kInvalidKey;
extern const char *const kInvalidPath;
extern const char *const kTooDeep;
extern const char *const kNotAnObject;

bool validKey(std::string_view key);
bool validUtf8(std::string_view text);

// Splits a raw request path ("/a/b%20c.json") into decoded segments; "+" stands for a blank.
// Throws RequestError for a path without ".json", bad escapes or invalid segments.
NodePath parseRequestPath(std::string_view rawPath);
// Splits a key of a merge ("a/b") into segments; throws RequestError when one is invalid.
NodePath splitChildPath(std::string_view key);
std::string joinPath(const NodePath &path);

// Parses a request body, refusing nesting deeper than the limit before the parser sees it.
Json parseBody(std::string_view body, std::size_t pathDepth);
// Throws RequestError for invalid keys or too deep data below a node at the given depth.
void checkValue(const Json &value, std::size_t depth);

// Replaces {".sv": ...} objects by their values; current is the node being written (or null).
void resolveServerValues(Json &value, const TreeNode *current, std::int64_t nowMilliseconds);

} // namespace WriteRules
} // namespace TunewellCloud
