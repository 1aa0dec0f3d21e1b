#pragma once

#include "recording/gst_playbin.h"
#include "recording/media_player.h"

#include <atomic>

// MediaPlayer1 on GStreamer. Files are measured by a pipeline of its own that
// never touches the sound output, so a busy or missing sound device cannot
// spoil a length; a second pipeline plays through the audio sink.
class GstMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    // audioSink: a gst-launch-1.0 description of where the sound goes.
    explicit GstMediaPlayer(const QString& audioSink = QStringLiteral("autoaudiosink"), QObject* parent = nullptr);

    void setFileName(const QString& path) override;
    double duration() const override;
    void play() override;
    void stop() override;
    double currentPosition() const override;

private:
    void finishPlayback(quint64 playback, const QString& error);

    // Counts playbacks; an end reported for an earlier one is stale. Declared
    // before the pipelines, whose threads read it until they are gone.
    std::atomic<quint64> m_playback { 0 };
    bool m_playing = false;
    QString m_path;
    double m_duration = 0;
    GstPlaybin m_probe;
    GstPlaybin m_output;
};
