#pragma once

#include "app/recording/OggHeaderKeeper.h"
#include "app/recording/RecordingFormat.h"

#include <QString>
#include <gst/gst.h>
#include <memory>
#include <mutex>
#include <optional>

namespace Tunewell {
class IRecordingTap;
}

namespace Player {

// Where the stream's bytes pass inside playbin, as the station sent them but with its titles
// taken out: the input of the first parser or demuxer (after the station's metadata is split
// off). A probe there keeps the stream's kind and title, and hands kind, titles and bytes to the
// target, if any, in stream order, on the streaming thread. The probe only copies: it never waits.
// Of an Ogg stream it keeps the header pages from the stream's first byte, which a target set
// later is handed first: without them no file of the stream plays.
class GstRecordingTap {
public:
    // Follows the elements the pipeline makes, from now on.
    explicit GstRecordingTap(GstElement *pipeline);
    ~GstRecordingTap();
    GstRecordingTap(const GstRecordingTap &) = delete;
    GstRecordingTap &operator=(const GstRecordingTap &) = delete;

    // Told at once the kind and title already known, and an Ogg stream's header pages; null
    // stops handing over.
    void setTarget(std::shared_ptr<Tunewell::IRecordingTap> target);
    // For a new stream, once the pipeline's threads are stopped: the old one's pad, kind, title
    // and target are let go.
    void reset();

private:
    static void onElementAdded(GstBin *pipeline, GstBin *bin, GstElement *element, gpointer tap);
    static GstPadProbeReturn onProbe(GstPad *pad, GstPadProbeInfo *info, gpointer tap);
    void watch(GstElement *element);
    void follow(GstPadProbeInfo *info);
    void followEvent(GstEvent *event);
    void hand(GstBuffer *buffer);
    void release();

    std::mutex mutex_;
    GstPad *pad_ = nullptr;
    gulong probe_ = 0;
    std::shared_ptr<Tunewell::IRecordingTap> target_;
    std::optional<Tunewell::StreamKind> kind_;
    std::optional<Tunewell::OggHeaderKeeper> oggHeaders_;
    QString title_;
};

} // namespace Player
