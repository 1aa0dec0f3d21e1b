#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// Another program's stream that was muted for a recording, and enough to tell it
// from a later stream that happens to get the same number.
struct MutedStream {
    uint32_t index = 0;
    QString processId; // as the stream tells it; empty when it does not
    QString application;
    // The setting the server saved for the stream's program or role, which muting
    // the stream mutes too; empty when the server keeps none.
    QString savedAs;
    bool savedMuted = false; // that setting's mute before the recording

    bool operator==(const MutedStream&) const = default;
};

// The list is written whole, replacing the one before at once, so a program that
// ends during a recording leaves a complete list behind. A failure to write is
// not fatal: the streams are muted anyway.
void writeMutedStreams(const QString& path, const std::vector<MutedStream>& streams);
// What the list at path holds; nothing when it is missing or damaged.
std::vector<MutedStream> readMutedStreams(const QString& path);
