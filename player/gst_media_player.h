#pragma once

#include "player/gst_file_decoder.h"
#include "player/gst_output_stream.h"
#include "player/gst_playbin.h"
#include "player/heard_peaks.h"
#include "player/media_player.h"
#include "player/sound_timeline.h"

#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// The media player on GStreamer. Files are measured by a pipeline of their own,
// which never touches the sound device, so a busy or missing one cannot spoil a
// length. Decoders take turns at playing: while one file sounds, those waiting
// are opened and decoded ahead. The output stream stays open from file to file
// and is fed without a break, each file the asked silence after the one before.
// Where the computer was too busy to feed it in time after all, the break is told.
// The output is chosen between runs: the stream is made anew for another one.
class GstMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    // audioSink: a gst-launch-1.0 description of where the sound goes when no output
    // is chosen.
    explicit GstMediaPlayer(const QString& audioSink = QStringLiteral("autoaudiosink"), QObject* parent = nullptr);
    ~GstMediaPlayer() override;

    void setFileName(const QString& path) override;
    double duration() const override;
    using MediaPlayer::play;
    void play(const SoundSource& source, double silenceMs, double gainDb) override;
    void resume(double silenceMs) override;
    void stop() override;
    double currentPosition() const override;
    void setOutput(const QString& outputName) override;
    StereoPeak takeHeardPeak() override;

private:
    // What the output has written, to be announced when it is heard.
    struct Moment {
        enum Kind { Started, Broke, Ended, Failed } kind;
        qint64 frame;
        QString error;
    };

    std::unique_ptr<GstOutputStream> makeOutput(const QString& outputName);
    GstBufferHandle nextSound();
    void writePeaks(const GstBufferHandle& buffer, qint64 frame);
    GstBufferHandle nextPiece(qint64& frames, int& waitFor);
    GstBufferHandle nextOfActiveFile(qint64& frames, int& waitFor);
    int freeDecoder();
    void dropFiles();
    bool sinkPlays(qint64& frames);
    qint64 sinkLead() const;
    qint64 heardFrame() const;
    void takeBackSilence();
    bool sinkHoldsPlenty() const;
    void watchSinkLead(qint64 lead, bool fileSound);
    bool starved(const QString& text);
    void inThisPlayback(std::function<void()> f);
    void written(const Moment& moment);
    void outputFailed(const QString& error);
    void announceHeard();
    void endPlayback();

    // Counts playbacks; a report about an earlier one is stale. Declared before
    // the pipelines, whose threads read it until they are gone.
    std::atomic<quint64> m_playback { 0 };
    std::atomic<bool> m_closing { false }; // the output is being closed: nothing may wait for more
    QString m_measuredPath;
    double m_duration = 0;
    const QString m_audioSink;
    QString m_outputName; // for the next run

    // What the output wrote, in order, until it is heard; the user-interface thread's.
    std::deque<Moment> m_toAnnounce;
    QTimer m_announce;
    std::optional<qint64> m_heardStart; // the file being heard
    std::optional<qint64> m_heardEnd;

    // Shared by the output's thread and this one.
    mutable std::mutex m_feedLock;
    std::condition_variable m_handedOver; // a file was handed to play, or resumed
    SoundTimeline m_timeline { GstOutputStream::kRate };
    int m_active = -1;          // the decoder whose file is being written
    std::deque<int> m_waiting;  // the decoders whose files come next, in order
    qint64 m_silentFramesLeft = -1; // of an active file without sound, once known
    // Since when a file due or playing has given nothing.
    std::optional<std::chrono::steady_clock::time_point> m_starvedSince;
    qint64 m_sinkFill = 0;  // the most sound the sink has held ahead of what is heard, in nanoseconds
    bool m_lateTold = false; // the sink runs short, and a break was told
    bool m_sinkPlays = false; // the sink has been filled once and plays what it is given
    bool m_takenBack = false; // silence was taken back: the next buffer is written where it says
    bool m_refilling = false; // since then the sink holds less than it did, and fills again
    HeardPeaks m_heardPeaks; // written by the output's thread, taken by this one

    std::unique_ptr<GstOutputStream> m_output; // made anew only while closed
    GstPlaybin m_measure;
    static constexpr int kDecoders = kFilesWaiting + 1;
    GstFileDecoder m_decoders[kDecoders];
    float m_gains[kDecoders] = { 1, 1, 1 }; // of each decoder's file, under the feed lock
};
