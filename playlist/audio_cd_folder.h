#pragma once

#include <QString>
#include <QStringList>

class Discs;

// A folder "Audio CD" that shows the disc in the drive as files: one empty Track01.cda,
// Track02.cda ... per audio track, so that the open dialog and file managers offer CD
// tracks as they offer media files. Only TrackNN.cda files are ever written or removed
// there; anything else in the folder is left alone.
class AudioCdFolder {
public:
    // base holds the folder; it is made on the first refresh.
    AudioCdFolder(Discs& discs, const QString& base);

    // The user's base: the runtime folder where it can be written (gone at logout,
    // like the disc), else the cache folder.
    static QString standardBase();

    QString path() const { return m_path; }

    // Reads the disc in the drive once and makes the folder show its audio tracks;
    // empty when there is no drive or no disc.
    void refresh();

private:
    QStringList audioTrackFiles();

    Discs& m_discs;
    QString m_path;
};
