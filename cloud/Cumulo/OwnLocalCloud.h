#pragma once

#include <curl/curl.h>
#include <filesystem>
#include <optional>
#include <string>

namespace Cumulo {

// The program's own local cloud serves on two Unix sockets in its data folder, not on ports:
// another user of the machine can neither reach it nor take its place. Its URLs keep the build's
// loopback addresses, so its certificate is checked for that name as any other.

// The socket that serves the URL: the build's database address is served on the database
// socket, its identity and token addresses on the identity socket; none for any other URL, or
// while the program addresses another cloud (AddressesOwnLocalCloud).
std::optional<std::filesystem::path> OwnLocalCloudSocket(const std::string &URL);
// The same for a data folder given, whatever the URLs in effect.
std::optional<std::filesystem::path> OwnLocalCloudSocket(const std::string &URL,
                                                         const std::filesystem::path &Folder);

// A transfer to the URL goes through the own cloud's socket, trusting its folder's authority
// too, or to the URL's host trusting the program's authorities only. Throws ETransport when the
// folder may hold another user's socket (Tunewell::LocalCloudFolderProblem), or as
// TTrustedAuthorities::ApplyTo. True when the transfer goes through the socket.
bool ApplyCloudRoute(CURL *Handle, const std::string &URL);

} // namespace Cumulo
