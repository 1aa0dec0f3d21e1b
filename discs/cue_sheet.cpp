#include "discs/cue_sheet.h"

#include "common/failure.h"
#include "common/text_file.h"

#include <QStringDecoder>
#include <optional>

namespace {

// A disc holds 99 tracks at most, each starting in one file; one more file may hold
// the sound before track 1 alone.
constexpr qsizetype kMaxFiles = 100;

Failure lineFailure(int line, const QString& what)
{
    return Failure(QStringLiteral("Line %1: %2").arg(line).arg(what));
}

QStringList wordsOf(const QString& text)
{
    return text.simplified().split(u' ', Qt::SkipEmptyParts);
}

// A quoted argument runs to the last quote on the line, so a title that itself
// holds quotes stays whole; an unquoted one is the rest of the line.
QString textArgument(const QString& rest)
{
    const QString text = rest.trimmed();
    if (!text.startsWith(u'"'))
        return text;
    const qsizetype close = text.lastIndexOf(u'"');
    return close > 0 ? text.mid(1, close - 1) : text.mid(1);
}

// A number written in ASCII digits only, at most maxDigits of them; -1 otherwise.
qint64 digitsValue(QStringView text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return -1;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// mm:ss:ff in sectors (75 a second); minutes may run past 99 in a long image.
qint64 sectorsOfTime(int line, const QString& text)
{
    const QStringList parts = text.split(u':');
    const qint64 minutes = parts.size() == 3 ? digitsValue(parts[0], 6) : -1;
    const qint64 seconds = parts.size() == 3 ? digitsValue(parts[1], 2) : -1;
    const qint64 frames = parts.size() == 3 ? digitsValue(parts[2], 2) : -1;
    if (minutes < 0 || seconds < 0 || seconds >= 60 || frames < 0 || frames >= 75)
        throw lineFailure(line, QStringLiteral("\"%1\" is not a time as minutes:seconds:frames, "
                                               "with under 60 seconds and under 75 frames.").arg(text));
    return (minutes * 60 + seconds) * 75 + frames;
}

CueFile::Type fileType(const QString& type)
{
    if (type.compare(u"BINARY", Qt::CaseInsensitive) == 0)
        return CueFile::Type::RawLittleEndian;
    if (type.compare(u"MOTOROLA", Qt::CaseInsensitive) == 0)
        return CueFile::Type::RawBigEndian;
    return CueFile::Type::Media;
}

// "MODE1/2048" and the like name the size of the track's sectors in its image.
int sectorBytesOf(const QString& type)
{
    const qsizetype slash = type.indexOf(u'/');
    const qint64 bytes = slash < 0 ? -1 : digitsValue(QStringView(type).sliced(slash + 1), 4);
    return bytes > 0 ? int(bytes) : 2352;
}

// The track being read: what its later INDEX lines are checked against.
struct OpenTrack {
    int line = 0;
    int lastIndex = -1;
    bool started = false; // has its INDEX 01
    std::optional<std::pair<qsizetype, qint64>> pregapStart; // INDEX 00: file, sector
};

class CueSheetReader {
public:
    void read(int line, const QString& text);
    CueSheet finish();

private:
    void readFile(int line, const QString& rest);
    void readTrack(int line, const QStringList& words);
    void readIndex(int line, const QStringList& words);
    void closeTrack();

    CueSheet m_sheet;
    std::optional<OpenTrack> m_track;
};

void CueSheetReader::read(int line, const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && !trimmed[end].isSpace())
        ++end;
    const QString command = trimmed.left(end).toUpper();
    const QString rest = trimmed.mid(end);
    if (command == u"FILE") {
        readFile(line, rest);
    } else if (command == u"TRACK") {
        readTrack(line, wordsOf(rest));
    } else if (command == u"INDEX") {
        readIndex(line, wordsOf(rest));
    } else if (command == u"PREGAP" || command == u"POSTGAP") {
        sectorsOfTime(line, wordsOf(rest).value(0));
    } else if (command == u"TITLE" || command == u"PERFORMER") {
        const bool title = command == u"TITLE";
        CueTrack* track = m_track ? &m_sheet.tracks.last() : nullptr;
        QString& target = track ? (title ? track->title : track->performer)
                                : (title ? m_sheet.title : m_sheet.performer);
        target = textArgument(rest);
    }
}

void CueSheetReader::readFile(int line, const QString& rest)
{
    const QString text = rest.trimmed();
    CueFile file;
    QString type;
    const qsizetype close = text.lastIndexOf(u'"');
    if (text.startsWith(u'"') && close > 0) {
        file.name = text.mid(1, close - 1);
        type = wordsOf(text.mid(close + 1)).value(0);
    } else {
        const QStringList words = wordsOf(text);
        file.name = textArgument(words.value(0));
        type = words.value(1);
    }
    if (file.name.isEmpty())
        throw lineFailure(line, QStringLiteral("FILE names no file."));
    if (m_sheet.files.size() == kMaxFiles)
        throw lineFailure(line, QStringLiteral("more than %1 FILE lines, more than the 99 tracks of a CD can use.")
                                    .arg(kMaxFiles));
    file.type = fileType(type);
    m_sheet.files << file;
}

void CueSheetReader::readTrack(int line, const QStringList& words)
{
    if (m_sheet.files.isEmpty())
        throw lineFailure(line, QStringLiteral("TRACK comes before any FILE."));
    closeTrack();
    const qint64 number = digitsValue(words.value(0), 2);
    if (number < 1)
        throw lineFailure(line, QStringLiteral("\"%1\" is not a track number (1 to 99).").arg(words.value(0)));
    if (!m_sheet.tracks.isEmpty() && number <= m_sheet.tracks.last().number)
        throw lineFailure(line, QStringLiteral("track %1 comes after track %2; the numbers must rise.")
                                    .arg(number).arg(m_sheet.tracks.last().number));
    const QString type = words.value(1);
    CueTrack track;
    track.number = int(number);
    // A TRACK line without a type is taken as sound, the usual case.
    track.audio = type.isEmpty() || type.compare(u"AUDIO", Qt::CaseInsensitive) == 0;
    if (!track.audio)
        track.sectorBytes = sectorBytesOf(type);
    track.file = m_sheet.files.size() - 1;
    m_sheet.tracks << track;
    m_track.emplace();
    m_track->line = line;
}

void CueSheetReader::readIndex(int line, const QStringList& words)
{
    if (!m_track)
        throw lineFailure(line, QStringLiteral("INDEX comes before any TRACK."));
    const qint64 number = digitsValue(words.value(0), 2);
    if (number < 0)
        throw lineFailure(line, QStringLiteral("\"%1\" is not an index number (0 to 99).").arg(words.value(0)));
    if (number <= m_track->lastIndex)
        throw lineFailure(line, QStringLiteral("INDEX %1 comes after INDEX %2; the numbers must rise.")
                                    .arg(number, 2, 10, QChar(u'0')).arg(m_track->lastIndex, 2, 10, QChar(u'0')));
    m_track->lastIndex = int(number);
    const qint64 sector = sectorsOfTime(line, words.value(1));
    const qsizetype file = m_sheet.files.size() - 1;
    if (number == 0)
        m_track->pregapStart = std::make_pair(file, sector);
    if (number != 1)
        return;
    // A pregap may lie in the previous file (a rip with gaps appended to the tracks before).
    if (m_track->pregapStart && m_track->pregapStart->first == file && sector < m_track->pregapStart->second)
        throw lineFailure(line, QStringLiteral("INDEX 01 lies before the track's INDEX 00."));
    CueTrack& track = m_sheet.tracks.last();
    if (m_sheet.tracks.size() > 1) {
        const CueTrack& previous = m_sheet.tracks[m_sheet.tracks.size() - 2];
        if (previous.file == file && sector < previous.startSector)
            throw lineFailure(line, QStringLiteral("track %1 starts before track %2 in the same file.")
                                        .arg(track.number).arg(previous.number));
    }
    track.file = file;
    track.startSector = sector;
    m_track->started = true;
}

void CueSheetReader::closeTrack()
{
    if (m_track && !m_track->started)
        throw lineFailure(m_track->line,
                          QStringLiteral("track %1 has no INDEX 01, where it starts.").arg(m_sheet.tracks.last().number));
}

CueSheet CueSheetReader::finish()
{
    closeTrack();
    if (m_sheet.tracks.isEmpty())
        throw Failure(QStringLiteral("The sheet has no TRACK line."));
    return m_sheet;
}

// Sheets saved as UTF-16 say so by their byte order mark; they are read as UTF-8 is.
QByteArray eightBitText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.sliced(3);
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (!littleEndian && !bytes.startsWith("\xFE\xFF"))
        return bytes;
    QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    return QString(decoder.decode(bytes.sliced(2))).toUtf8();
}

} // namespace

CueSheet parseCueSheet(const QByteArray& bytes)
{
    const QByteArray text = eightBitText(bytes);
    CueSheetReader reader;
    const QStringList lines = splitTextLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i)
        reader.read(int(i + 1), lines[i]);
    return reader.finish();
}
