#include "Player/GstPlayerEngine.h"

#include "Player/GstErrorKind.h"

#include <gst/audio/streamvolume.h>
#include <stdexcept>

namespace Player {

namespace {

// playbin's GstPlayFlags: audio only (a radio has no pictures to decode) with software volume.
constexpr int playFlagAudio = 0x02;
constexpr int playFlagSoftVolume = 0x10;

void initialiseGStreamer() {
    GError *rawError = nullptr;
    if (!gst_init_check(nullptr, nullptr, &rawError)) {
        const GErrorPtr error(rawError);
        throw std::runtime_error(std::string("GStreamer cannot start: ") +
                                 (error ? error->message : "unknown reason"));
    }
}

GstElementPtr makeAudioSink(const QString &description) {
    GError *rawError = nullptr;
    GstElement *sink = gst_parse_bin_from_description(description.toUtf8().constData(), TRUE, &rawError);
    const GErrorPtr error(rawError);
    if (!sink || error) {
        if (sink) {
            gst_object_unref(sink);
        }
        throw std::runtime_error("audio sink \"" + description.toStdString() +
                                 "\" cannot be made: " + (error ? error->message : "unknown reason"));
    }
    return GstElementPtr(GST_ELEMENT(gst_object_ref_sink(sink)));
}

} // namespace

GstPlayerEngine::GstPlayerEngine(const QString &audioSink, QObject *parent) : QObject(parent) {
    initialiseGStreamer();
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin) {
        throw std::runtime_error("GStreamer's playbin is not installed");
    }
    playbin_.reset(GST_ELEMENT(gst_object_ref_sink(playbin)));
    g_object_set(playbin_.get(), "flags", playFlagAudio | playFlagSoftVolume, nullptr);
    if (!audioSink.isEmpty()) {
        const GstElementPtr sink = makeAudioSink(audioSink);
        g_object_set(playbin_.get(), "audio-sink", sink.get(), nullptr);
    }
    g_signal_connect(playbin_.get(), "source-setup", G_CALLBACK(&GstPlayerEngine::onSourceSetup), this);
    recordingTap_ = std::make_unique<GstRecordingTap>(playbin_.get());
    bus_.reset(gst_element_get_bus(playbin_.get()));
    gst_bus_set_sync_handler(bus_.get(), &GstPlayerEngine::onBusMessage, this, nullptr);
}

GstPlayerEngine::~GstPlayerEngine() {
    // Setting NULL joins the streaming threads, so no bus message can arrive after the handler goes.
    gst_element_set_state(playbin_.get(), GST_STATE_NULL);
    gst_bus_set_sync_handler(bus_.get(), nullptr, nullptr, nullptr);
}

void GstPlayerEngine::setEventHandler(EventHandler handler) {
    handler_ = std::move(handler);
}

void GstPlayerEngine::start(const QString &url) {
    stop();
    g_object_set(playbin_.get(), "uri", url.toUtf8().constData(), nullptr);
    wantPlaying_ = true;
    gst_element_set_state(playbin_.get(), GST_STATE_PLAYING);
}

void GstPlayerEngine::stop() {
    wantPlaying_ = false;
    buffering_ = false;
    gst_element_set_state(playbin_.get(), GST_STATE_NULL);
    // A recording never runs on into another stream, nor into the same station reconnected.
    recordingTap_->reset();
    // Messages already posted by the stream just stopped carry the old number and are dropped.
    ++stream_;
}

void GstPlayerEngine::setVolume(int percent) {
    const double volume = std::clamp(percent, 0, 100) / 100.0;
    gst_stream_volume_set_volume(GST_STREAM_VOLUME(playbin_.get()), GST_STREAM_VOLUME_FORMAT_CUBIC, volume);
}

bool GstPlayerEngine::setRecordingTap(std::shared_ptr<Tunewell::IRecordingTap> tap) {
    recordingTap_->setTarget(std::move(tap));
    return true;
}

void GstPlayerEngine::onSourceSetup(GstElement *, GstElement *source, gpointer data) {
    auto *engine = static_cast<GstPlayerEngine *>(data);
    const std::lock_guard lock(engine->trustMutex_);
    engine->trust_.applyTo(source);
}

GstBusSyncReply GstPlayerEngine::onBusMessage(GstBus *, GstMessage *message, gpointer data) {
    auto *engine = static_cast<GstPlayerEngine *>(data);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_BUFFERING:
    case GST_MESSAGE_TAG:
        break;
    case GST_MESSAGE_STATE_CHANGED:
    case GST_MESSAGE_ASYNC_DONE:
        if (GST_MESSAGE_SRC(message) != GST_OBJECT(engine->playbin_.get())) {
            gst_message_unref(message);
            return GST_BUS_DROP;
        }
        break;
    default:
        gst_message_unref(message);
        return GST_BUS_DROP;
    }
    // Runs on GStreamer's threads: hand the message to the main thread, which owns it from here.
    const quint64 stream = engine->stream_.load();
    const std::shared_ptr<GstMessage> owned(message, GstMessageUnref());
    QMetaObject::invokeMethod(
        engine, [engine, stream, owned] { engine->handleMessage(stream, owned.get()); },
        Qt::QueuedConnection);
    return GST_BUS_DROP;
}

void GstPlayerEngine::handleMessage(quint64 stream, GstMessage *message) {
    if (stream != stream_.load() || !wantPlaying_) {
        return;
    }
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        handleError(message);
        break;
    case GST_MESSAGE_EOS:
        emitEvent(StreamEnded{});
        break;
    case GST_MESSAGE_BUFFERING:
        handleBuffering(message);
        break;
    case GST_MESSAGE_TAG:
        handleTag(message);
        break;
    case GST_MESSAGE_STATE_CHANGED: {
        GstState newState = GST_STATE_NULL;
        gst_message_parse_state_changed(message, nullptr, &newState, nullptr);
        if (newState == GST_STATE_PLAYING) {
            emitEvent(StreamStarted{});
        }
        followBuffering();
        break;
    }
    case GST_MESSAGE_ASYNC_DONE:
        followBuffering();
        break;
    default:
        break;
    }
}

void GstPlayerEngine::handleBuffering(GstMessage *message) {
    gint percent = 0;
    gst_message_parse_buffering(message, &percent);
    // Playing on with an empty buffer stutters: hold the pipeline until the buffer is full again.
    buffering_ = percent < 100;
    followBuffering();
    emitEvent(BufferingProgress{percent});
}

void GstPlayerEngine::followBuffering() {
    GstState current = GST_STATE_NULL;
    GstState pending = GST_STATE_VOID_PENDING;
    // Messages reach this thread late; the pipeline's own state decides, not the message's.
    if (gst_element_get_state(playbin_.get(), &current, &pending, 0) == GST_STATE_CHANGE_ASYNC) {
        return;
    }
    const GstState wanted = buffering_ ? GST_STATE_PAUSED : GST_STATE_PLAYING;
    if (current != wanted) {
        gst_element_set_state(playbin_.get(), wanted);
    }
}

void GstPlayerEngine::handleTag(GstMessage *message) {
    GstTagList *rawTags = nullptr;
    gst_message_parse_tag(message, &rawTags);
    const GstTagListPtr tags(rawTags);
    gchar *rawTitle = nullptr;
    if (tags && gst_tag_list_get_string(tags.get(), GST_TAG_TITLE, &rawTitle)) {
        const GCharPtr title(rawTitle);
        emitEvent(TitleTag{title.get()});
    }
}

void GstPlayerEngine::handleError(GstMessage *message) {
    GError *rawError = nullptr;
    gchar *rawDebug = nullptr;
    gst_message_parse_error(message, &rawError, &rawDebug);
    const GErrorPtr error(rawError);
    const GCharPtr debug(rawDebug);
    if (!error) {
        return;
    }
    emitEvent(StreamFailed{failureKindOf(*error), QString::fromUtf8(error->message)});
}

void GstPlayerEngine::emitEvent(const EngineEvent &event) {
    if (handler_) {
        handler_(event);
    }
}

} // namespace Player
