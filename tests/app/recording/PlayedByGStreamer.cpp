#include "PlayedByGStreamer.h"

#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>
#include <memory>

namespace Tunewell::Testing {

namespace {

struct GObjectUnref {
    void operator()(gpointer Object) const { g_object_unref(Object); }
};
struct GErrorFree {
    void operator()(GError *Error) const { g_error_free(Error); }
};
struct GFree {
    void operator()(gchar *Text) const { g_free(Text); }
};
struct MessageUnref {
    void operator()(GstMessage *Message) const { gst_message_unref(Message); }
};
struct StopAndUnref {
    void operator()(GstElement *Pipeline) const {
        gst_element_set_state(Pipeline, GST_STATE_NULL);
        gst_object_unref(Pipeline);
    }
};

constexpr GstClockTime Patience = 20 * GST_SECOND;

std::string Message(const GError *Error) {
    return Error ? Error->message : "unknown error";
}

void Discover(const std::string &Uri, GStreamerVerdict &Verdict) {
    GError *rawError = nullptr;
    const std::unique_ptr<GstDiscoverer, GObjectUnref> discoverer(gst_discoverer_new(Patience, &rawError));
    std::unique_ptr<GError, GErrorFree> error(rawError);
    if (!discoverer) {
        Verdict.Error = "no discoverer: " + Message(error.get());
        return;
    }
    rawError = nullptr;
    const std::unique_ptr<GstDiscovererInfo, GObjectUnref> info(
        gst_discoverer_discover_uri(discoverer.get(), Uri.c_str(), &rawError));
    error.reset(rawError);
    if (!info || gst_discoverer_info_get_result(info.get()) != GST_DISCOVERER_OK) {
        Verdict.Error = "discoverer: " + Message(error.get());
        return;
    }
    Verdict.Discovered = true;
    Verdict.DurationNs = static_cast<std::int64_t>(gst_discoverer_info_get_duration(info.get()));
}

void Play(const std::filesystem::path &File, GStreamerVerdict &Verdict) {
    const std::unique_ptr<GstElement, StopAndUnref> pipeline(
        gst_parse_launch("filesrc name=source ! decodebin ! audioconvert ! fakesink sync=false", nullptr));
    if (!pipeline) {
        Verdict.Error = "no pipeline";
        return;
    }
    const std::unique_ptr<GstElement, GObjectUnref> source(
        gst_bin_get_by_name(GST_BIN(pipeline.get()), "source"));
    g_object_set(source.get(), "location", File.c_str(), nullptr);
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    const std::unique_ptr<GstBus, GObjectUnref> bus(gst_element_get_bus(pipeline.get()));
    const std::unique_ptr<GstMessage, MessageUnref> message(gst_bus_timed_pop_filtered(
        bus.get(), Patience, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    if (!message) {
        Verdict.Error = "no end within the time";
    } else if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
        GError *rawError = nullptr;
        gst_message_parse_error(message.get(), &rawError, nullptr);
        const std::unique_ptr<GError, GErrorFree> error(rawError);
        if (Verdict.Error.empty())
            Verdict.Error = "playing: " + Message(error.get());
    } else {
        Verdict.PlayedToTheEnd = true;
    }
}

} // namespace

GStreamerVerdict PlayedByGStreamer(const std::filesystem::path &File) {
    gst_init(nullptr, nullptr);
    GStreamerVerdict verdict;
    const std::unique_ptr<gchar, GFree> uri(gst_filename_to_uri(File.c_str(), nullptr));
    Discover(uri.get(), verdict);
    Play(File, verdict);
    return verdict;
}

} // namespace Tunewell::Testing
