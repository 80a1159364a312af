#pragma once

#include <QString>
#include <string_view>

namespace Player {

// A stream title as text: UTF-8 when the bytes are valid UTF-8, otherwise Latin-1, which is what
// stations that do not send UTF-8 almost always send. Surrounding blanks are dropped.
QString decodeTitle(std::string_view bytes);

} // namespace Player
