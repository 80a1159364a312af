#include "Player/GstRecordingTap.h"

#include "Player/GstHandles.h"
#include "Player/TitleText.h"
#include "app/recording/RecordingTap.h"

#include <string_view>

namespace Player {

namespace {

// The element that reads the stream's own bytes: a parser or a demuxer, but not one that only
// takes off metadata (the station's titles, an ID3 tag) in front of them.
bool readsTheStream(GstElement *element) {
    GstElementFactory *factory = gst_element_get_factory(element);
    if (!factory)
        return false;
    const gchar *rawKlass = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
    const std::string_view klass = rawKlass ? rawKlass : "";
    return (klass.find("Parser") != std::string_view::npos ||
            klass.find("Demuxer") != std::string_view::npos) &&
           klass.find("Metadata") == std::string_view::npos;
}

Tunewell::StreamKind kindOf(const GstCaps *caps) {
    Tunewell::StreamKind kind;
    if (!caps || gst_caps_get_size(caps) == 0)
        return kind;
    const GstStructure *structure = gst_caps_get_structure(caps, 0);
    kind.MediaType = gst_structure_get_name(structure);
    gst_structure_get_int(structure, "mpegversion", &kind.MpegVersion);
    gst_structure_get_int(structure, "layer", &kind.Layer);
    if (const gchar *format = gst_structure_get_string(structure, "stream-format"))
        kind.StreamFormat = format;
    return kind;
}

} // namespace

GstRecordingTap::GstRecordingTap(GstElement *pipeline) {
    g_signal_connect(pipeline, "deep-element-added", G_CALLBACK(&GstRecordingTap::onElementAdded), this);
}

GstRecordingTap::~GstRecordingTap() {
    release();
}

void GstRecordingTap::setTarget(std::shared_ptr<Tunewell::IRecordingTap> target) {
    const std::lock_guard lock(mutex_);
    target_ = std::move(target);
    if (!target_)
        return;
    if (kind_)
        target_->Kind(*kind_);
    if (!title_.isEmpty())
        target_->Title(title_);
    if (oggHeaders_) {
        const std::string handover = oggHeaders_->Handover();
        if (!handover.empty())
            target_->Bytes(handover);
    }
}

void GstRecordingTap::reset() {
    release();
    const std::lock_guard lock(mutex_);
    target_.reset();
    kind_.reset();
    oggHeaders_.reset();
    title_.clear();
}

void GstRecordingTap::release() {
    const std::lock_guard lock(mutex_);
    if (pad_) {
        gst_pad_remove_probe(pad_, probe_);
        gst_object_unref(pad_);
        pad_ = nullptr;
    }
}

void GstRecordingTap::onElementAdded(GstBin *, GstBin *, GstElement *element, gpointer tap) {
    if (readsTheStream(element))
        static_cast<GstRecordingTap *>(tap)->watch(element);
}

void GstRecordingTap::watch(GstElement *element) {
    const std::lock_guard lock(mutex_);
    // The first one only: a demuxer's streams go on to parsers of their own.
    if (pad_)
        return;
    pad_ = gst_element_get_static_pad(element, "sink");
    if (!pad_)
        return;
    // Pushed data only: a stream is pushed as it comes, while a parser that pulls (from a file)
    // may read out of order.
    probe_ = gst_pad_add_probe(
        pad_,
        static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_PUSH | GST_PAD_PROBE_TYPE_BUFFER |
                                     GST_PAD_PROBE_TYPE_BUFFER_LIST | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
        &GstRecordingTap::onProbe, this, nullptr);
}

GstPadProbeReturn GstRecordingTap::onProbe(GstPad *, GstPadProbeInfo *info, gpointer tap) {
    static_cast<GstRecordingTap *>(tap)->follow(info);
    return GST_PAD_PROBE_OK;
}

void GstRecordingTap::follow(GstPadProbeInfo *info) {
    const std::lock_guard lock(mutex_);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        followEvent(GST_PAD_PROBE_INFO_EVENT(info));
    } else if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER_LIST) {
        GstBufferList *list = GST_PAD_PROBE_INFO_BUFFER_LIST(info);
        for (guint index = 0; index < gst_buffer_list_length(list); ++index)
            hand(gst_buffer_list_get(list, index));
    } else if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
        hand(GST_PAD_PROBE_INFO_BUFFER(info));
    }
}

void GstRecordingTap::followEvent(GstEvent *event) {
    if (GST_EVENT_TYPE(event) == GST_EVENT_CAPS) {
        GstCaps *caps = nullptr;
        gst_event_parse_caps(event, &caps);
        const Tunewell::StreamKind kind = kindOf(caps);
        if (kind != kind_)
            oggHeaders_.reset();
        if (!oggHeaders_ && Tunewell::RecordingFormatOf(kind) == Tunewell::RecordingFormat::Ogg)
            oggHeaders_.emplace();
        kind_ = kind;
        if (target_)
            target_->Kind(*kind_);
    } else if (GST_EVENT_TYPE(event) == GST_EVENT_TAG) {
        GstTagList *tags = nullptr;
        gst_event_parse_tag(event, &tags);
        gchar *rawTitle = nullptr;
        if (!tags || !gst_tag_list_get_string(tags, GST_TAG_TITLE, &rawTitle))
            return;
        const GCharPtr title(rawTitle);
        // As the player shows it, so that a file is named as the title heard.
        title_ = decodeTitle(title.get());
        if (target_)
            target_->Title(title_);
    }
}

void GstRecordingTap::hand(GstBuffer *buffer) {
    if ((!target_ && !oggHeaders_) || !buffer)
        return;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
        return;
    const std::string_view bytes(reinterpret_cast<const char *>(map.data), map.size);
    if (oggHeaders_)
        oggHeaders_->Feed(bytes);
    if (target_)
        target_->Bytes(bytes);
    gst_buffer_unmap(buffer, &map);
}

} // namespace Player
