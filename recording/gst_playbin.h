#pragma once

#include "recording/gst_handles.h"

#include <QString>
#include <functional>

// One GStreamer playbin kept for many files: open (prerolled, paused at the
// start), play, halt, and the stream's duration and position. Its bus keeps
// only what open() and measureDuration() wait for; the end of a playing
// stream, or an error, is handed to the end handler on a GStreamer thread.
class GstPlaybin {
public:
    // Called with an empty text at the end of the stream, or with the error's description.
    using EndHandler = std::function<void(const QString& error)>;

    // audioSink and videoSink are descriptions as gst-launch-1.0 takes them.
    GstPlaybin(const QString& audioSink, const QString& videoSink, EndHandler onEnd = {});
    ~GstPlaybin();
    GstPlaybin(const GstPlaybin&) = delete;
    GstPlaybin& operator=(const GstPlaybin&) = delete;

    // Opens the file and waits, at most kOpenTimeoutMs, until it is ready to play.
    // Throws a Failure with GStreamer's description when it cannot be opened.
    void open(const QString& path);
    // Plays the opened file. Throws a Failure when the pipeline refuses.
    void play();
    // Ends any playback and lets the file go; harmless when nothing is open.
    void halt();

    // The opened file's length, reading on through it when its headers do not say; 0 when unknown.
    // Leaves the pipeline to be halted or opened anew.
    double measureDuration();
    double durationSeconds() const; // 0 when the stream does not say
    double positionSeconds() const; // 0 when nothing is open

    GstElement* element() const { return m_playbin.get(); }

    static constexpr int kOpenTimeoutMs = 10000;

private:
    static GstBusSyncReply onBusMessage(GstBus* bus, GstMessage* message, gpointer self);
    [[noreturn]] void failWith(const QString& description);

    EndHandler m_onEnd;
    GstElementHandle m_playbin;
    GstBusHandle m_bus;
    QString m_path;
};
