#include "sound_server/muted_streams.h"

#include "common/failure.h"
#include "common/text_file.h"

#include <QRegularExpression>

// One line a stream: its number, its process id and its program, between tabs.
void writeMutedStreams(const QString& path, const std::vector<MutedStream>& streams)
{
    QStringList lines;
    for (const MutedStream& stream : streams)
        lines << QString::number(stream.index) + '\t' + stream.processId + '\t' + stream.application;
    try {
        writeTextFile(path, lines);
    } catch (const Failure&) {
    }
}

std::vector<MutedStream> readMutedStreams(const QString& path)
{
    static const QRegularExpression line(QStringLiteral("^(\\d{1,10})\\t([^\\t]*)\\t([^\\t]*)$"));
    std::vector<MutedStream> streams;
    try {
        for (const QString& text : readTextFile(path)) {
            const QRegularExpressionMatch match = line.match(text);
            bool isNumber = false;
            const uint index = match.captured(1).toUInt(&isNumber);
            if (!match.hasMatch() || !isNumber)
                return {};
            streams.push_back({ index, match.captured(2), match.captured(3) });
        }
    } catch (const Failure&) {
        return {};
    }
    return streams;
}
