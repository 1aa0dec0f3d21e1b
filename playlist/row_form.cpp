#include "playlist/row_form.h"

#include "common/clock_text.h"
#include "common/number_text.h"
#include "common/playlist_entry.h"

QString columnHeader(PlaylistColumn column)
{
    switch (column) {
    case PlaylistColumn::Track:
        return QStringLiteral("Track");
    case PlaylistColumn::File:
        return QStringLiteral("File");
    case PlaylistColumn::Length:
        return QStringLiteral("Length");
    case PlaylistColumn::Gap:
        return QStringLiteral("Gap (sec)");
    }
    return {};
}

int columnWidthTwips(PlaylistColumn column)
{
    switch (column) {
    case PlaylistColumn::Track:
        return 600;
    case PlaylistColumn::File:
        return 4850;
    case PlaylistColumn::Length:
        return 800;
    case PlaylistColumn::Gap:
        return 1000;
    }
    return 0;
}

QString rowText(const PlaylistEntry& entry, int slot, PlaylistColumn column)
{
    switch (column) {
    case PlaylistColumn::Track:
        return QString::number(slot + 1);
    case PlaylistColumn::File:
        return entry.path;
    case PlaylistColumn::Length:
        return clockText(entry.length);
    case PlaylistColumn::Gap:
        return plainNumber(entry.gap / 1000);
    }
    return {};
}
