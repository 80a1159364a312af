#include "TunewellCloud/PeerUser.h"

#include <sys/socket.h>
#include <unistd.h>

namespace TunewellCloud::PeerUser {

namespace {

int checkClientHello(SSL *connection, int *alert, void *) {
    if (allowed(SSL_get_fd(connection)))
        return SSL_CLIENT_HELLO_SUCCESS;
    *alert = SSL_AD_ACCESS_DENIED;
    return SSL_CLIENT_HELLO_ERROR;
}

} // namespace

bool allowed(int socket) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(socket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return false;
    if (address.ss_family != AF_UNIX)
        return true;
    ucred peer{};
    socklen_t peerLength = sizeof peer;
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &peerLength) == 0 && peer.uid == ::geteuid();
}

void requireAllowedPeers(SSL_CTX &context) {
    SSL_CTX_set_client_hello_cb(&context, checkClientHello, nullptr);
}

} // namespace TunewellCloud::PeerUser
