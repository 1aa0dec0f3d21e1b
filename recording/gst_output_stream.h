#pragma once

#include "recording/gst_handles.h"

#include <QString>
#include <functional>
#include <mutex>

typedef struct _GstAppSrc GstAppSrc;

// The sound output of a run: one stream to the audio sink that stays open from
// file to file. Every sample fed to it carries its place on the stream's
// timeline; while nothing is fed the sink plays silence and its clock runs on,
// so the silence between two files is exactly the room left between them.
class GstOutputStream {
public:
    // Called on a GStreamer thread with the description of an error of the sink.
    using ErrorHandler = std::function<void(const QString& error)>;

    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBytesPerFrame = kChannels * 4;
    // What push() takes: 32-bit float samples, interleaved.
    static const char* const kCaps;

    // audioSink: a gst-launch-1.0 description of where the sound goes.
    GstOutputStream(const QString& audioSink, ErrorHandler onError);
    ~GstOutputStream();
    GstOutputStream(const GstOutputStream&) = delete;
    GstOutputStream& operator=(const GstOutputStream&) = delete;

    // Starts the stream unless it runs, waiting at most kStartTimeoutMs until it
    // does. Throws a Failure when the sink refuses.
    void open();
    // Stops the stream at once; what was not heard yet is dropped.
    void close();
    bool isOpen() const { return m_open; }

    // The stream's clock, counted from its start, in nanoseconds; 0 when closed.
    // A sound sink's clock is the sound it has played out, so this is also the
    // point of the timeline being heard now, to a few milliseconds.
    qint64 now() const;
    // Takes the buffer and queues it, waiting while the queue holds enough.
    // False when the stream was closed meanwhile. Any thread may call it.
    bool push(GstBuffer* buffer);

    static constexpr int kStartTimeoutMs = 10000;

private:
    static GstBusSyncReply onBusMessage(GstBus* bus, GstMessage* message, gpointer self);

    ErrorHandler m_onError;
    GstElementHandle m_pipeline;
    GstElementHandle m_source;
    GstBusHandle m_bus;
    bool m_open = false;
    mutable std::mutex m_errorLock;
    QString m_lastError;
};
