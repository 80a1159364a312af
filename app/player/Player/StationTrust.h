#pragma once

#include <gst/gst.h>
#include <memory>
#include <string>

// GIO's own declaration; its header would meet Qt's keywords where this one is included.
typedef struct _GTlsDatabase GTlsDatabase;

namespace Player {

// The authorities a station's HTTPS stream is checked against: the cloud client's, the system's
// store and TUNEWELL_CA_FILE. GStreamer's HTTP source replaces the system's store with any
// database it is given, so it is given one of the whole bundle, made anew when the bundle changes.
// GLib reads such a database from a file, and again whenever it sets up a connection: the bundle
// is kept in a temporary file of the user's own for as long as its database lives.
class StationTrust {
public:
    StationTrust() = default;
    ~StationTrust();
    StationTrust(const StationTrust &) = delete;
    StationTrust &operator=(const StationTrust &) = delete;

    // Hands the source the database when authorities are added to the system's store; a source
    // without that setting, or nothing added, keeps its own. An added file that cannot be read
    // leaves the source as it is: the station's certificate is then refused, and the player's
    // look at it names the file.
    void applyTo(GstElement *source);

private:
    struct ObjectUnref {
        void operator()(gpointer object) const { g_object_unref(object); }
    };

    // Drops the database and its file.
    void forget();

    std::shared_ptr<const std::string> bundle_;
    std::string file_;
    std::unique_ptr<GTlsDatabase, ObjectUnref> database_;
};

} // namespace Player
