#pragma once

#include <string>
#include <string_view>

namespace Tunewell {

// Appends UTF-8 text folded for searching: lower case and without accents ("São" becomes
// "sao", "RÁDIO" becomes "radio"), so a search ignores both. Bytes that are not UTF-8 are kept.
void AppendFoldedForSearch(std::string &Out, std::string_view Text);

} // namespace Tunewell
