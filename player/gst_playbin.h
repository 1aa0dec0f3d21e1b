#pragma once

#include "file_headers/byte_patch.h"
#include "player/gst_pipeline.h"

#include <QString>
#include <atomic>
#include <functional>
#include <vector>

// One GStreamer playbin kept for many files. Without an end handler it opens a
// file and waits (prerolled, paused at the start) so that its duration can be
// read, and its bus keeps only what open() and measureDuration() wait for.
// With one it decodes in the background: start() returns at once, and the end
// of the stream, or an error, is handed to the handler on a GStreamer thread.
class GstPlaybin {
public:
    // Called with an empty text at the end of the stream, or with the error's description.
    using EndHandler = std::function<void(const QString& error)>;

    // audioSink and videoSink are descriptions as gst-launch-1.0 takes them.
    GstPlaybin(const QString& audioSink, const QString& videoSink, EndHandler onEnd = {});

    // Opens the file and waits, at most kOpenTimeoutMs, until it is ready to play.
    // Throws a Failure with GStreamer's description when it cannot be opened.
    void open(const QString& path);
    // Plays the file without waiting for it to open; the end handler hears how it ends.
    // The demuxer reads the patches' bytes in place of the file's.
    void start(const QString& path, const std::vector<BytePatch>& patches = {});
    // The same for a track of the disc in a drive, or of a disc image libcdio opens.
    void startCdTrack(const QString& device, int track);
    // Ends any playback and lets the file go; harmless when nothing is open.
    void halt();

    // The opened file's length, reading on through it when its headers do not say; 0 when unknown.
    // Leaves the pipeline to be halted or opened anew.
    double measureDuration();
    double durationSeconds() const; // 0 when the stream does not say
    double positionSeconds() const; // 0 when nothing is open

    GstElement* element() const { return m_pipeline.element(); }

    static constexpr int kOpenTimeoutMs = 10000;

private:
    bool onBusMessage(GstMessage* message);
    [[noreturn]] void failWith(const QString& description);
    // A time the playbin answers, in seconds; 0 when nothing is open or it cannot say.
    double querySeconds(gboolean (*query)(GstElement*, GstFormat, gint64*)) const;
    bool setUri(const QString& path, QString& error);
    void play();
    static void onSourceSetup(GstElement* playbin, GstElement* source, gpointer self);

    EndHandler m_onEnd;
    QString m_path;
    QString m_cdDevice; // the drive the next cdda source reads
    std::vector<BytePatch> m_patches; // for the next file source
    // An element that failed may keep its error into the next file; only a full reset clears it.
    std::atomic<bool> m_failed { false };
    Pipeline m_pipeline; // last: its threads use the members above until it is gone
};
