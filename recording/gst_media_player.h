#pragma once

#include "recording/gst_output_stream.h"
#include "recording/gst_playbin.h"
#include "recording/media_player.h"
#include "recording/sound_timeline.h"

#include <QTimer>
#include <atomic>
#include <mutex>

typedef struct _GstAppSink GstAppSink;

// MediaPlayer1 on GStreamer. A decoding pipeline opens the file and hands its
// samples to the output stream as fast as that takes them; neither opening nor
// measuring touches the sound device, so a busy or missing one cannot spoil a
// length. The output stream stays open from file to file, so each file is
// placed on its timeline the asked silence after the one before.
class GstMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    // audioSink: a gst-launch-1.0 description of where the sound goes.
    explicit GstMediaPlayer(const QString& audioSink = QStringLiteral("autoaudiosink"), QObject* parent = nullptr);
    ~GstMediaPlayer() override;

    void setFileName(const QString& path) override;
    double duration() const override;
    void play(double silenceMs) override;
    void stop() override;
    double currentPosition() const override;
    double startLeadMs() const override;

private:
    static GstFlowReturn onDecoded(GstAppSink* sink, gpointer self);
    void decoderEnded(quint64 playback, const QString& error);
    void outputFailed(quint64 playback, const QString& error);
    void finishPlayback(quint64 playback, int result);
    void endPlayback();

    // Counts playbacks; an end reported for an earlier one is stale. Declared
    // before the pipelines, whose threads read it until they are gone.
    std::atomic<quint64> m_playback { 0 };
    bool m_playing = false;
    bool m_decoderAtStart = false; // the open file is prerolled and has not played yet
    bool m_hasSound = false;       // the open file has a sound track
    QString m_path;
    double m_duration = 0;
    QTimer m_heardEnd; // ends the playback when its last sample is heard
    mutable std::mutex m_timelineLock; // the timeline and the frame count are shared with the decoder's thread
    SoundTimeline m_timeline;
    qint64 m_frames = 0;
    GstOutputStream m_output;
    GstPlaybin m_probe;
    GstPlaybin m_decoder;
};
