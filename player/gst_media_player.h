#pragma once

#include "player/gst_file_decoder.h"
#include "player/gst_output_stream.h"
#include "player/gst_playbin.h"
#include "player/media_player.h"
#include "player/sound_timeline.h"

#include <QTimer>
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

// The media player on GStreamer. Files are measured by a pipeline of their own,
// which never touches the sound device, so a busy or missing one cannot spoil a
// length. Two decoders take turns at playing: while one file sounds, the next
// is opened and decoded ahead. The output stream stays open from file to file
// and is fed without a break, each file the asked silence after the one before.
class GstMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    // audioSink: a gst-launch-1.0 description of where the sound goes.
    explicit GstMediaPlayer(const QString& audioSink = QStringLiteral("autoaudiosink"), QObject* parent = nullptr);
    ~GstMediaPlayer() override;

    void setFileName(const QString& path) override;
    double duration() const override;
    void play(const QString& path, double silenceMs) override;
    void play(const SoundSource& sound, double silenceMs) override;
    void stop() override;
    double currentPosition() const override;
    double startLeadMs() const override;

private:
    // What the output has written, to be announced when it is heard.
    struct Moment {
        enum Kind { Started, Ended, Failed } kind;
        qint64 frame;
        QString error;
    };

    GstBufferHandle nextSound();
    GstBufferHandle nextOfActiveFile(qint64& frames);
    bool starved(const QString& text);
    void inThisPlayback(std::function<void()> f);
    void written(const Moment& moment);
    void outputFailed(const QString& error);
    void announceHeard();
    void endPlayback();

    // Counts playbacks; a report about an earlier one is stale. Declared before
    // the pipelines, whose threads read it until they are gone.
    std::atomic<quint64> m_playback { 0 };
    QString m_measuredPath;
    double m_duration = 0;

    // What the output wrote, in order, until it is heard; the user-interface thread's.
    std::deque<Moment> m_toAnnounce;
    QTimer m_announce;
    std::optional<qint64> m_heardStart; // the file being heard
    std::optional<qint64> m_heardEnd;

    // Shared by the output's thread and this one.
    mutable std::mutex m_feedLock;
    SoundTimeline m_timeline { GstOutputStream::kRate };
    int m_active = -1;  // the decoder whose file is being written
    int m_waiting = -1; // the decoder whose file comes next
    qint64 m_silentFramesLeft = -1; // of an active file without sound, once known
    qint64 m_starvedFrames = 0;     // silence written while a file was due but gave nothing

    GstOutputStream m_output;
    GstPlaybin m_measure;
    GstFileDecoder m_decoders[2];
};
