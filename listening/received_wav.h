#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

// The sound the recorder received, kept for the user's archive: 16-bit stereo WAV
// at 44.1 kHz, written as it is heard. A write that fails ends only the file; what
// was written before stays playable.
class ReceivedWav {
public:
    // What a WAV's 32-bit sizes allow: about 6 hours 45 minutes.
    static constexpr qint64 kMostDataBytes = 0xFFFFFFFFLL - 36;

    // Creates the file. Throws a Failure.
    explicit ReceivedWav(const QString& path, qint64 mostDataBytes = kMostDataBytes);
    ~ReceivedWav();

    // Takes interleaved stereo samples, full scale being 1.
    void append(const float* interleavedStereo, qint64 frames);
    // Writes the lengths into the header and closes the file; nothing is taken after.
    void finish();

    // A sentence on where the sound is, or on why not all of it is there.
    QString note() const;

private:
    void fail(const QString& why);

    QFile m_file;
    qint64 m_mostDataBytes;
    qint64 m_dataBytes = 0;
    QString m_problem;
};

// Beside the list, named after it and the time the run started, so that no run's
// sound replaces another's.
QString receivedWavPath(const QString& folder, const QString& listName, const QDateTime& start);
