#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The titles of a recorded disc, for a NetMD tool to write onto it.
struct DiscTitles {
    QString disc;
    QStringList tracks;
    std::vector<double> seconds; // each track's time on the disc, index for index
    QString encoding;            // the disc's mode as NetMD names it: "SPS", "LP2", "LP4"
};

// The comma-separated layout the common web-based NetMD title import reads: a
// header, a row for the disc (index 0), then a row per track; a comma in a title
// is written "\,". A line break in a title becomes a space, and a backslash that
// would end a cell is left out, as it would escape the comma after it.
QStringList titleImportCsv(const DiscTitles& titles);

// One track title a line, for a tool that takes titles pasted in.
QStringList titleImportLines(const DiscTitles& titles);

// The mode a recorder kind's id names, as NetMD tools name it.
QString netMdEncoding(const QString& recorderId);
