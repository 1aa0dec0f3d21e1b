#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

// The titles CUE sheets give the tracks of CD entries ("/rips/album.cue/Track03.cda").
// A sheet is read once, and again only when its file changes (in size or time of
// change), so that a list of all the tracks of a sheet costs one reading.
class CueTitles {
public:
    // "Performer - Title" when the sheet names both, the title alone otherwise; empty
    // for an entry not on a sheet, a sheet that cannot be read, or a track without a
    // title.
    QString titleOf(const QString& entryPath);
    // The sheet's own title (the album); empty as for titleOf.
    QString albumOf(const QString& entryPath);

private:
    struct Sheet {
        qint64 size = -1;
        QDateTime changed;
        QHash<int, QString> titles; // by track number
        QString album;
    };
    const Sheet& sheet(const QString& path);

    QHash<QString, Sheet> m_sheets; // by path
};
