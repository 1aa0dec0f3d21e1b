#pragma once

#include "player/cd_device.h"

#include <QByteArrayList>
#include <QHash>

// A CD device that records every command and answers from a table of replies.
class FakeCdDevice : public CdDevice {
public:
    QByteArrayList commands;
    QList<int> capacities;
    QHash<QByteArray, QByteArray> replies; // command -> reply text

    QByteArray sendCommand(const QByteArray& command, int replyCapacity) override
    {
        commands << command;
        capacities << replyCapacity;
        QByteArray reply = replies.value(command).left(replyCapacity);
        reply.append(QByteArray(replyCapacity - reply.size(), '\0'));
        return reply;
    }
};
