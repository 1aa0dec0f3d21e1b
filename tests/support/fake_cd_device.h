#pragma once

#include "common/failure.h"
#include "player/cd_device.h"

#include <QByteArrayList>
#include <QHash>
#include <QStringList>

// A CD device that records every command and answers from a table of replies.
class FakeCdDevice : public CdDevice {
public:
    QByteArrayList commands;
    QList<int> capacities;
    QHash<QByteArray, QByteArray> replies; // command -> reply text
    QStringList chosenFolders;
    QHash<int, SoundSource> sounds; // tracks the player is to play; others the drive plays
    QString discFailure; // when set, choosing a disc fails with it

    QByteArray sendCommand(const QByteArray& command, int replyCapacity) override
    {
        commands << command;
        capacities << replyCapacity;
        QByteArray reply = replies.value(command).left(replyCapacity);
        reply.append(QByteArray(replyCapacity - reply.size(), '\0'));
        return reply;
    }
    void chooseDisc(const QString& folder) override
    {
        if (!discFailure.isEmpty())
            throw Failure(discFailure);
        chosenFolders << folder;
    }
    std::optional<SoundSource> trackSound(int track) override
    {
        return sounds.contains(track) ? std::optional(sounds.value(track)) : std::nullopt;
    }
};
