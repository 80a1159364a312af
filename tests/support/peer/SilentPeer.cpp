#include "Tunewell/Test/SilentPeer.h"

#include "LoopbackListener.h"

#include <unistd.h>

namespace Tunewell::Test {

TSilentPeer::TSilentPeer() {
    const TLoopbackListener listener = ListenOnLoopback("The silent peer");
    fListener = listener.Descriptor;
    fPort = listener.Port;
}

TSilentPeer::~TSilentPeer() {
    ::close(fListener);
}

std::string TSilentPeer::BaseURL() const {
    return "http://127.0.0.1:" + std::to_string(fPort);
}

} // namespace Tunewell::Test
