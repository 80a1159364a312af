#include "Player/StationTrust.h"

#include "Cumulo/Exceptions.h"
#include "Cumulo/TrustedAuthorities.h"
#include "Player/GstHandles.h"

#include <gio/gio.h>
#include <glib/gstdio.h>
#include <unistd.h>

namespace Player {

namespace {

// The bundle in a new temporary file (readable by its owner only); empty when it cannot be written.
std::string fileOf(const std::string &bundle) {
    gchar *rawPath = nullptr;
    GError *rawError = nullptr;
    const int fd = g_file_open_tmp("tunewell-authorities-XXXXXX.pem", &rawPath, &rawError);
    const GCharPtr path(rawPath);
    const GErrorPtr error(rawError);
    if (fd < 0) {
        return {};
    }
    const bool written = ::write(fd, bundle.data(), bundle.size()) == static_cast<ssize_t>(bundle.size());
    ::close(fd);
    if (!written) {
        g_unlink(path.get());
        return {};
    }
    return path.get();
}

} // namespace

StationTrust::~StationTrust() {
    forget();
}

void StationTrust::forget() {
    database_.reset();
    if (!file_.empty()) {
        g_unlink(file_.c_str());
    }
    file_.clear();
    bundle_.reset();
}

void StationTrust::applyTo(GstElement *source) {
    if (!g_object_class_find_property(G_OBJECT_GET_CLASS(source), "tls-database")) {
        return;
    }
    std::shared_ptr<const std::string> bundle;
    try {
        bundle = Cumulo::TTrustedAuthorities::Shared().CombinedBundle();
    } catch (const Cumulo::ETransport &) {
        return;
    }
    if (!bundle) {
        return;
    }
    if (bundle != bundle_) {
        forget();
        file_ = fileOf(*bundle);
        if (file_.empty()) {
            return;
        }
        GError *rawError = nullptr;
        database_.reset(g_tls_file_database_new(file_.c_str(), &rawError));
        const GErrorPtr error(rawError);
        bundle_ = bundle;
    }
    if (database_) {
        g_object_set(source, "tls-database", database_.get(), nullptr);
    }
}

} // namespace Player
