#include "sound_server/muted_streams.h"

#include "common/failure.h"
#include "common/settings_lines.h"
#include "common/text_file.h"

#include <QRegularExpression>
#include <QUrl>

// One line a stream: its number, its process id and its program, between tabs;
// then, where the server saved a setting for it, that setting's mute before (0 or
// 1) and its name, percent-encoded as a program may put a tab in it.
void writeMutedStreams(const QString& path, const std::vector<MutedStream>& streams)
{
    QStringList lines;
    for (const MutedStream& stream : streams) {
        QString line = QString::number(stream.index) + '\t' + stream.processId + '\t' + stream.application;
        if (!stream.savedAs.isEmpty())
            line += '\t' + QString::number(int(stream.savedMuted)) + '\t'
                + QString::fromLatin1(QUrl::toPercentEncoding(stream.savedAs, ":"));
        lines << line;
    }
    try {
        writeTextFile(path, lines);
    } catch (const Failure&) {
    }
}

std::vector<MutedStream> readMutedStreams(const QString& path)
{
    static const QRegularExpression line(QStringLiteral("^(\\d{1,10})\\t([^\\t]*)\\t([^\\t]*)(?:\\t([01])\\t([^\\t]+))?$"));
    std::vector<MutedStream> streams;
    // Far more streams than a desktop plays at once.
    for (const QString& text : readSettingsLines(path, 256 * 1024)) {
        const QRegularExpressionMatch match = line.match(text);
        bool isNumber = false;
        const uint index = match.captured(1).toUInt(&isNumber);
        if (!match.hasMatch() || !isNumber)
            return {};
        streams.push_back({ index, match.captured(2), match.captured(3),
                            QUrl::fromPercentEncoding(match.captured(5).toLatin1()), match.captured(4) == u'1' });
    }
    return streams;
}
