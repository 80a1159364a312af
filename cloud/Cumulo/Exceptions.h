#pragma once

#include <stdexcept>
#include <string>

namespace Cumulo {

// An error answer of a service; the message is the service's own error text or the status text.
class EFirebaseResponse : public std::runtime_error {
public:
    // StatusCode: the HTTP status of the answer it was read from; 0 when it stands for none.
    explicit EFirebaseResponse(const std::string &Message, int StatusCode = 0)
        : std::runtime_error(Message), fStatusCode(StatusCode) {}
    int StatusCode() const { return fStatusCode; }

private:
    int fStatusCode;
};

// A member missing from a user record.
class EFirebaseUser : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A malformed authentication answer.
class EFirebaseAuthentication : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A transport failure: no answer at all (connection refused, name resolution, TLS, time-out).
class ETransport : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A request the client refuses to send: a database path with an empty segment, or data with an
// empty member name.
class EInvalidRequest : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// A JSON value of another kind than the one asked for.
class EInvalidTypeConversion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace Cumulo

namespace Cumulo {

// A text that does not have the shape of the date-time form asked for.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace Cumulo
