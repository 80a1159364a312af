#pragma once

#include <gst/gst.h>
#include <memory>

namespace Player {

// Owning handles for the GStreamer and GLib objects the engine touches.
struct GstObjectUnref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct GstMessageUnref {
    void operator()(GstMessage *message) const { gst_message_unref(message); }
};
struct GstTagListUnref {
    void operator()(GstTagList *tags) const { gst_tag_list_unref(tags); }
};
struct GErrorFree {
    void operator()(GError *error) const { g_error_free(error); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

using GstElementPtr = std::unique_ptr<GstElement, GstObjectUnref>;
using GstBusPtr = std::unique_ptr<GstBus, GstObjectUnref>;
using GstTagListPtr = std::unique_ptr<GstTagList, GstTagListUnref>;
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;
using GCharPtr = std::unique_ptr<gchar, GFree>;

} // namespace Player
