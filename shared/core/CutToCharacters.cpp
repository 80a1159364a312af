#include "shared/core/CutToCharacters.h"

#include "Cumulo/Utf8.h"

namespace Tunewell {

std::string_view CutToCharacters(std::string_view Text, int Count) {
    int characters = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (!Cumulo::IsUtf8Continuation(Text[i]) && characters++ == Count) {
            return Text.substr(0, i);
        }
    }
    return Text;
}

} // namespace Tunewell
