#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// A file a CUE sheet names, as it names it.
struct CueFile {
    // Raw images hold 16-bit stereo at 44.1 kHz with no header, little-endian
    // (BINARY) or big-endian (MOTOROLA); any other type is decoded by the player.
    enum class Type { Media, RawLittleEndian, RawBigEndian };
    QString name;
    Type type = Type::Media;

    bool operator==(const CueFile&) const = default;
};

struct CueTrack {
    int number = 0;
    bool audio = true;
    int sectorBytes = 2352; // a data track's sector in its image (2048 in an ISO)
    QString title;
    QString performer;
    qsizetype file = 0;     // the file its INDEX 01 is in: an index into CueSheet::files
    qint64 startSector = 0; // its INDEX 01, from the start of that file

    bool operator==(const CueTrack&) const = default;
};

struct CueSheet {
    QString title;
    QString performer;
    QList<CueFile> files;
    QList<CueTrack> tracks; // at least one, numbers rising

    bool operator==(const CueSheet&) const = default;
};

// Reads the text of a CUE sheet. Lines end at CR LF, CR or LF; each is UTF-8 when
// valid, else Windows-1252; a sheet that begins with a UTF-16 byte order mark is
// UTF-16. Commands are read in any case and unknown ones are passed over; PREGAP
// and POSTGAP (silence no file holds) are checked and dropped.
// Throws a Failure naming the line when the sheet cannot give a track list: a
// TRACK before any FILE, an INDEX outside a TRACK, a malformed time or number,
// track or index numbers not rising (so there are at most 99 tracks), more than
// 100 FILE lines, a track without INDEX 01, an INDEX 01 before its track's INDEX 00
// or before the previous track's INDEX 01 in the same file, or no tracks at all.
CueSheet parseCueSheet(const QByteArray& bytes);
