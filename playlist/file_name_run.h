#pragma once

#include <QString>
#include <QStringList>

// The open dialog's answer as the adding code takes it apart: one run of text, the
// chosen folder followed directly by the chosen names (one file: its full path).

QString fileNameRun(const QStringList& chosenPaths);

// Writes the run as the one line of filelist.tmp in the given folder, reads the
// line back and deletes the file; the file is gone afterwards, also on a Failure.
QString passThroughFileList(const QString& run, const QString& folder);

// The names to add, relative to the chosen folder, in the dialog's order: the chosen
// names whose extension is the one that ends the run, or, when every type was shown,
// every chosen name of a type the program takes. A Failure when the run does not end
// with the chosen names (a name with a line break in it cannot pass the file).
QStringList namesToAdd(const QString& run, const QStringList& chosenPaths, bool everyType);
