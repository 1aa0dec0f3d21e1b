#pragma once

#include <QString>

// What stands at path when it is there but is no regular file to read, as the end of
// a sentence about it: "is a folder", "is not a regular file" (a FIFO, a device, a
// socket) or "cannot be read: " and the system's reason (a loop of links). Empty for
// a regular file and for nothing at all. It only looks, never opens: a FIFO would
// wait for a writer and a device such as /dev/zero never ends.
QString notARegularFile(const QString& path);
