#pragma once

// The base URLs of the three cloud services, from the build values. The emulator host
// variables FIREBASE_DATABASE_EMULATOR_HOST and FIREBASE_AUTH_EMULATOR_HOST ("host:port"),
// when set and not empty, redirect them to http://host:port at run time.

#include <string>

namespace Cumulo {

// The URLs in effect address the program's own local cloud: the build's values name it and no
// emulator host variable redirects them.
bool AddressesOwnLocalCloud();

// Realtime database, e.g. "https://PROJECT-default-rtdb.firebaseio.com" (no trailing slash).
std::string DatabaseBaseURL();
// Identity service, ending in "/identitytoolkit/v3/relyingparty".
std::string IdentityBaseURL();
// Token service, ending in "/v1/token".
std::string TokenBaseURL();

// The database URL redirected to an emulator host: scheme and host become http://HostPort.
std::string DatabaseURLForEmulator(const std::string &URL, const std::string &HostPort);
// An authentication URL redirected to an emulator host. The emulator serves these services
// under a path that starts with the real host ("http://h:p/securetoken.googleapis.com/v1/token"),
// so a real host moves into the path; a loopback URL is already in that form and only has its
// scheme and host replaced.
std::string AuthURLForEmulator(const std::string &URL, const std::string &HostPort);

} // namespace Cumulo
