#include "shared/core/CutToCharacters.h"

namespace Tunewell {

namespace {

bool IsContinuationByte(char Byte) {
    return (static_cast<unsigned char>(Byte) & 0xC0) == 0x80;
}

} // namespace

std::string_view CutToCharacters(std::string_view Text, int Count) {
    int characters = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (!IsContinuationByte(Text[i]) && characters++ == Count) {
            return Text.substr(0, i);
        }
    }
    return Text;
}

} // namespace Tunewell
