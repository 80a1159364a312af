#pragma once

#include <filesystem>

namespace TunewellCloud {

// What a server of tunewell-cloud speaks: plain HTTP, or HTTPS with a certificate of one's own
// (PEM files: the certificate, then any intermediate ones, and its key) or, without one, the data
// folder's own (FolderCertificates).
struct TlsOptions {
    bool enabled = false;
    std::filesystem::path certificateFile;
    std::filesystem::path keyFile;
};

} // namespace TunewellCloud
