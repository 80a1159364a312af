#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Tunewell {

// Appends UTF-8 text folded for searching: lower case and without accents ("São" becomes
// "sao", "RÁDIO" becomes "radio"), so a search ignores both. Bytes that are not UTF-8 are kept.
void AppendFoldedForSearch(std::string &Out, std::string_view Text);
// The words typed to find something, folded; blanks separate them.
std::vector<std::string> FoldedSearchWords(std::string_view Text);
// True when the folded text holds every word, in any order.
bool HoldsEveryWord(std::string_view Folded, const std::vector<std::string> &Words);

} // namespace Tunewell
