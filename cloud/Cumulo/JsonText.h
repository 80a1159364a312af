#pragma once

// The JSON text forms of the cloud client and the windows. Every form is compact: no white
// space between tokens, object members in their stored order.

#include "Cumulo/Types.h"

#include <string>

namespace Cumulo {

// The form sent as a request body: plain ASCII. A slash is written "\/", control characters
// as \b \t \n \f \r or \uXXXX, every character above U+007F as \uXXXX with upper-case digits
// (a surrogate pair above U+FFFF); U+007F itself stays as it is.
std::string RequestBodyText(const TJSONValue &Value);

// The node text the windows' readers cut into pieces: a string escapes only its double quotes
// (as \"); backslashes, slashes, line breaks and non-ASCII characters are written as they are.
// Line ends are left alone: the readers normalise them.
std::string NodeText(const TJSONValue &Value);

// The full text of a value in the windows' log memo: as the request-body form, except that
// U+007F is escaped as well.
std::string FullJsonText(const TJSONValue &Value);

// The simple text of a value in the windows' log memo: a string in double quotes with only
// its double quotes escaped, a number, true, false or null as its token.
std::string SimpleJsonText(const TJSONValue &Value);

} // namespace Cumulo
