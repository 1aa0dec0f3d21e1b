#pragma once

#include <QString>
#include <QStringList>

// The files the program is opened with (a file manager's "Open with"): those that
// go on the list as a drop would put them, and those that cannot, with why.
struct OpenedFiles {
    QStringList taken;   // full paths, in the order given
    QStringList refused; // "path: why", in the order given
};

// Relative names are taken from the current directory. A file is refused when it is
// missing, empty, a folder or of a type the program does not take; CD track names
// are left to their discs to judge.
OpenedFiles sortOpenedFiles(const QStringList& names);

// One message naming the refused files; a long list is cut short.
QString refusedFilesMessage(const QStringList& refused);
