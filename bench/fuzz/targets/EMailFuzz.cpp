// Both e-mail checks on arbitrary text.
#include "profile/core/ValidaEMail.h"

#include <Cumulo/Helpers.h>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
    const std::string text(reinterpret_cast<const char *>(Data), Size);
    Tunewell::ValidaEMail(QString::fromStdString(text));
    Cumulo::TFirebaseHelpers::IsEMailAdress(text);
    return 0;
}
