#pragma once

// How the identity and token services' answers are read, shared by the user record and the
// authentication client so both follow one rule.

#include "Cumulo/Interfaces.h"
#include "Cumulo/Types.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Cumulo::AuthenticationFields {

// A string member; JSON null reads as empty text. Absent or of another kind: nullopt.
std::optional<std::string> ReadString(const TJSONValue &Object, const char *Name);

// A whole number given as a JSON integer or as a text of decimal digits (the services send the
// latter). Absent, fractional, signed text or out of range: nullopt.
std::optional<std::int64_t> ReadWholeNumber(const TJSONValue &Object, const char *Name);

// A JSON boolean, or a text "true"/"false" in any letter case.
std::optional<bool> ReadBoolean(const TJSONValue &Object, const char *Name);

// Now plus the lifetime in whole seconds held by Name; Now itself when the lifetime is missing or
// unreadable, so the token is due for renewal at once.
TDateTime ExpiryFromLifetime(const TJSONValue &Object, const char *Name, TDateTime Now);

// A non-2xx answer is never a success, whatever its body: it raises EFirebaseResponse carrying
// the answer's status, with the service's error text, or the status text when the body names
// none. A 2xx answer passes.
void RaiseForErrorStatus(IFirebaseResponse &Response);

} // namespace Cumulo::AuthenticationFields
