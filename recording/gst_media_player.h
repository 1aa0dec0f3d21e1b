#pragma once

#include "recording/gst_output_stream.h"
#include "recording/gst_playbin.h"
#include "recording/media_player.h"
#include "recording/sound_timeline.h"

#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

typedef struct _GstAppSink GstAppSink;

// MediaPlayer1 on GStreamer. A decoding pipeline opens the file and queues its
// samples for the output stream; neither opening nor measuring touches the
// sound device, so a busy or missing one cannot spoil a length. The output
// stream stays open from file to file and is fed without a break, each file
// the asked silence after the one before.
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
    GstBuffer* nextSound();
    void decoderEnded(quint64 playback, const QString& error);
    void outputFailed(quint64 playback, const QString& error);
    void soundWritten(quint64 playback, qint64 endNs);
    void finishPlayback(int result);
    void endPlayback();

    // Counts playbacks; a report about an earlier one is stale. Declared before
    // the pipelines, whose threads read it until they are gone.
    std::atomic<quint64> m_playback { 0 };
    bool m_playing = false;
    bool m_decoderAtStart = false; // the open file is prerolled and has not played yet
    QString m_path;
    double m_duration = 0;
    QTimer m_heardEnd; // ends the playback when its last sample is heard

    // Shared by the decoder's thread, the output's thread and this one.
    mutable std::mutex m_feedLock;
    std::condition_variable m_roomInQueue;
    SoundTimeline m_timeline { GstOutputStream::kRate };
    std::deque<GstBuffer*> m_decoded; // the playing file's samples, not yet written
    qint64 m_decodedFrames = 0;
    bool m_decoding = false;  // more samples of the playing file may come
    bool m_hasSound = false;  // the open file has a sound track
    bool m_fileActive = false; // the playing file's samples are being written
    bool m_halting = false;   // the decoder is being stopped: take nothing more from it

    GstOutputStream m_output;
    GstPlaybin m_probe;
    GstPlaybin m_decoder;
};
