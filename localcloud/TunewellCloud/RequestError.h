#pragma once

#include <stdexcept>
#include <string>

namespace TunewellCloud {

// A request the server refuses: the HTTP status and the message the client receives.
class RequestError : public std::runtime_error {
public:
    RequestError(int status, const std::string &message) : std::runtime_error(message), status_(status) {}
    int status() const { return status_; }

private:
    int status_;
};

// The storage failed (disk full, I/O error): nothing was acknowledged.
class StorageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace TunewellCloud
