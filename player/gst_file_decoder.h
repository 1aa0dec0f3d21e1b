#pragma once

#include "discs/sound_source.h"
#include "player/gst_output_stream.h"
#include "player/gst_playbin.h"

#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

typedef struct _GstAppSink GstAppSink;

// Decodes one source at a time into the sound output's sample format, on
// GStreamer's threads (a raw CD image on a thread of its own), running at most
// kQueuedFrames ahead of what the output has taken: a file is read only as fast
// as it plays, and the next one can be decoded while the one before still sounds.
// Seconds ahead, a decoder that a busy computer leaves waiting a while still has
// sound ready when the output asks.
class GstFileDecoder {
public:
    GstFileDecoder();
    ~GstFileDecoder();
    GstFileDecoder(const GstFileDecoder&) = delete;
    GstFileDecoder& operator=(const GstFileDecoder&) = delete;

    // Starts decoding without waiting for the source to open.
    void start(const SoundSource& source);
    // Stops decoding and drops what was decoded; harmless when nothing is.
    void halt();

    // For the output's thread.
    // Samples are waiting, or the file has ended or failed: it can start.
    bool ready() const;
    // Waits until it is ready, at most timeoutMs. For a reader that takes the
    // samples as fast as they come instead of as they are heard.
    void waitUntilReady(int timeoutMs) const;
    // Up to maxFrames of the next samples, joined; null when none are waiting.
    GstBufferHandle take(qint64 maxFrames);
    // The file has ended and every sample was taken.
    bool finished() const;
    // Why the file failed; empty while it has not.
    QString error() const;
    QString path() const;
    // How long a file that ended without a sound track lasts (its pictures), in frames.
    qint64 framesWithoutSound() const;

    static constexpr qint64 kQueuedFrames = GstOutputStream::kRate * 5;

private:
    static GstFlowReturn onDecoded(GstAppSink* sink, gpointer self);
    bool enqueue(std::unique_lock<std::mutex>& lock, GstBufferHandle buffer);
    void readRawImage(const SoundSource& source);
    void streamEnded(const QString& error);

    mutable std::mutex m_lock;
    std::condition_variable m_room;
    mutable std::condition_variable m_arrived; // samples, or the end
    std::deque<GstBufferHandle> m_queue;
    qint64 m_queuedFrames = 0;
    bool m_halting = false; // take nothing more from the decoder
    bool m_decoding = false;
    bool m_hadSound = false;
    // The frames to be heard: a track's stretch of its file, or the music where the
    // file declares encoder silence GStreamer keeps.
    qint64 m_skipFrames = 0;
    qint64 m_endFrame = -1; // -1: to the end
    qint64 m_decodedFrames = 0;
    QString m_path;
    QString m_error;
    std::thread m_rawReader;
    GstPlaybin m_playbin; // last: its threads use the members above until it is gone
};
