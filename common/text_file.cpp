#include "common/text_file.h"

#include "common/failure.h"
#include "common/regular_file.h"
#include "common/whole_file.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

// Far longer than any path or title; a longer line is no text line at all, and
// reading on for its end would fill the memory (a large file of no line ends).
constexpr qsizetype kMostLineBytes = 16 * 1024 * 1024;

} // namespace

QString decodeLine(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? decodeCp1252(bytes) : text;
}

QStringList splitTextLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines << decodeLine(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << decodeLine(bytes.mid(start));
    return lines;
}

void writeTextFile(const QString& path, const QStringList& lines)
{
    QByteArray content;
    for (const QString& line : lines)
        content += line.toLocal8Bit() + "\r\n";
    writeWholeFile(path, content);
}

TextLineReader::TextLineReader(const QString& path)
    : m_file(path)
{
    // Opening a FIFO would wait for a writer, and a device may never end.
    if (const QString kind = notARegularFile(path); !kind.isEmpty())
        throw Failure(QStringLiteral("%1 %2.").arg(QFileInfo(path).fileName(), kind));
    if (!m_file.open(QIODevice::ReadOnly))
        throw Failure(m_file.errorString());
    // Editors on Windows start UTF-8 files with a byte-order mark; it is no text.
    if (m_file.peek(3) == "\xEF\xBB\xBF")
        m_file.skip(3);
}

void TextLineReader::fill()
{
    if (m_eof)
        return;
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const QByteArray chunk = m_file.read(64 * 1024);
    if (chunk.isEmpty()) {
        if (m_file.error() != QFileDevice::NoError)
            throw Failure(m_file.errorString());
        m_eof = true;
        return;
    }
    m_buffer += chunk;
}

bool TextLineReader::readLine(QString& line)
{
    qsizetype i = m_pos;
    for (;;) {
        while (i < m_buffer.size() && m_buffer[i] != '\r' && m_buffer[i] != '\n')
            ++i;
        // One byte past a CR tells CR LF from a lone CR.
        const bool ended = i < m_buffer.size() && (m_buffer[i] == '\n' || i + 1 < m_buffer.size());
        if (ended || m_eof)
            break;
        if (i - m_pos > kMostLineBytes)
            throw Failure(QStringLiteral("%1 holds a line of over 16 MiB: it is no text file.")
                              .arg(QFileInfo(m_file.fileName()).fileName()));
        const qsizetype offset = i - m_pos;
        fill();
        i = m_pos + offset;
    }
    if (i >= m_buffer.size()) {
        if (m_pos >= m_buffer.size())
            return false;
        line = decodeLine(m_buffer.mid(m_pos));
        m_pos = m_buffer.size();
        return true;
    }
    line = decodeLine(m_buffer.mid(m_pos, i - m_pos));
    qsizetype next = i + 1;
    if (m_buffer[i] == '\r' && next < m_buffer.size() && m_buffer[next] == '\n')
        ++next;
    m_pos = next;
    return true;
}

bool fileHasContent(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() > 0;
}
