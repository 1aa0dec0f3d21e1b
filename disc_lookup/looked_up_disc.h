#pragma once

#include <QString>
#include <QStringList>

// What the web service says a disc holds.
struct LookedUpDisc {
    QString album;
    QStringList titles; // "Artist - Title", the disc's first track first

    bool operator==(const LookedUpDisc&) const = default;
};
