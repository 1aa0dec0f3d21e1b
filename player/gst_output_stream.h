#pragma once

#include "player/gst_pipeline.h"

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>

// The sound output of a run: one stream to the audio sink that stays open from
// file to file and never runs dry. It asks its source for sound whenever it
// has room, and the source answers with a file's samples or with silence, so
// the sink plays one unbroken stream and the silence between two files is
// exactly the silence written between them, whatever the sound server does
// with a stream that runs dry.
class GstOutputStream {
public:
    // Called on the stream's own thread whenever it has room: a buffer of kCaps
    // samples with its timestamps set. It must answer at once, with silence if
    // nothing else is ready.
    using Source = std::function<GstBufferHandle()>;
    // Called on a GStreamer thread with the description of an error of the sink.
    using ErrorHandler = std::function<void(const QString& error)>;

    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBytesPerFrame = kChannels * 4;
    // What the source gives: 32-bit float samples, interleaved.
    static const char* const kCaps;
    // How far ahead of what is heard the sink is asked to take sound (PulseAudio
    // grants about half). Nothing needs the sound soon but a stop, which drops
    // what the sink holds; a sink that holds seconds plays on while a busy
    // computer leaves the stream's threads waiting.
    static constexpr int kBufferMs = 4000;

    // outputName: the sound server's name of the output the sound goes to; empty:
    // it goes where audioSink, a gst-launch-1.0 description, sends it.
    GstOutputStream(const QString& audioSink, const QString& outputName, Source source, ErrorHandler onError);

    // Starts the stream unless it runs, waiting at most kStartTimeoutMs until it
    // does. The source's timeline starts at 0. Throws a Failure when the sink refuses,
    // when the named output is not there, or when there is no sound output to play through.
    void open();
    // Stops the stream at once; what was not heard yet is dropped.
    void close();
    bool isOpen() const { return m_open; }

    // The stream's clock, counted from its start, in nanoseconds; 0 until it runs,
    // on any thread. A sound sink's clock is the sound it has played out, so this is
    // also the point of the timeline being heard now, to a few milliseconds.
    qint64 now() const;
    // How much sound the audio sink takes before it starts to play, in nanoseconds:
    // a sound server's stream starts only once its buffer is full, and its clock runs
    // on meanwhile as if it were heard. None until the sink has said; 0 for a sink
    // that is no sound output. Any thread.
    std::optional<qint64> startingFill() const;

    static constexpr int kStartTimeoutMs = 10000;

private:
    bool onBusMessage(GstMessage* message);

    QString m_outputName;
    Source m_source;
    ErrorHandler m_onError;
    std::atomic<bool> m_open { false }; // read by the stream's thread through now()
    mutable std::mutex m_errorLock;
    QString m_lastError;
    QString m_lastWarning;
    Pipeline m_pipeline; // last: its threads use the members above until it is gone
};
