#pragma once

#include <openssl/ssl.h>

namespace TunewellCloud::PeerUser {

// Whether the peer of a connected socket may be served: over a Unix socket only a process of
// this server's own user (the kernel's word for it); over TCP anyone the address lets in.
bool allowed(int socket);
// Ends every TLS handshake whose peer is not allowed, before a byte of its request is read.
void requireAllowedPeers(SSL_CTX &context);

} // namespace TunewellCloud::PeerUser
