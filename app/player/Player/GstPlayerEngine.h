#pragma once

#include "Player/GstHandles.h"
#include "Player/GstRecordingTap.h"
#include "Player/IPlayerEngine.h"
#include "Player/StationTrust.h"

#include <QObject>
#include <atomic>
#include <mutex>

namespace Player {

// The engine on GStreamer's playbin. Bus messages are handed from GStreamer's threads to the
// Qt event loop through queued calls, which works whatever event dispatcher Qt runs on; each
// carries the number of the stream it belongs to so that messages of a stopped stream are dropped.
class GstPlayerEngine : public QObject, public IPlayerEngine {
    Q_OBJECT

public:
    // audioSink: a pipeline description such as "fakesink sync=false"; empty for the system's sink.
    // Throws std::runtime_error when GStreamer or the sink cannot be set up.
    explicit GstPlayerEngine(const QString &audioSink = {}, QObject *parent = nullptr);
    ~GstPlayerEngine() override;

    void setEventHandler(EventHandler handler) override;
    void start(const QString &url) override;
    void stop() override;
    void setVolume(int percent) override;
    bool setRecordingTap(std::shared_ptr<Tunewell::IRecordingTap> tap) override;

private:
    static GstBusSyncReply onBusMessage(GstBus *bus, GstMessage *message, gpointer engine);
    // Each new source of playbin, on a streaming thread: the stations' trusted authorities.
    static void onSourceSetup(GstElement *playbin, GstElement *source, gpointer engine);
    void handleMessage(quint64 stream, GstMessage *message);
    void handleBuffering(GstMessage *message);
    // Moves the pipeline towards playing, or paused while its buffer refills, unless a change
    // is still under way: a change asked for then can be lost, leaving the stream paused.
    void followBuffering();
    void handleTag(GstMessage *message);
    void handleError(GstMessage *message);
    void emitEvent(const EngineEvent &event);

    // Before playbin_: the pipeline, torn down first, may still set up a source with it.
    StationTrust trust_;
    std::mutex trustMutex_;
    GstElementPtr playbin_;
    GstBusPtr bus_;
    std::unique_ptr<GstRecordingTap> recordingTap_;
    EventHandler handler_;
    std::atomic<quint64> stream_{0};
    bool wantPlaying_ = false;
    bool buffering_ = false;
};

} // namespace Player
