#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

// Text files as the program writes and reads them: in the system's 8-bit
// encoding (UTF-8 here, the ANSI code page on Windows) with CR LF after every
// line when writing; when reading, lines end at CR LF, a lone CR or a lone LF, and
// a line that is not valid UTF-8 is taken as Windows-1252 (files made on Windows).

// Writes the lines whole (see writeWholeFile). Throws a Failure.
void writeTextFile(const QString& path, const QStringList& lines);

// Reads a text file line by line. Construction opens the file (a Failure when it
// cannot); the file is closed when the reader goes.
class TextLineReader {
public:
    explicit TextLineReader(const QString& path);

    // The next line without its line end; false at the end of the file.
    bool readLine(QString& line);

private:
    void fill();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
};

// Splits bytes into lines at CR LF, a lone CR or a lone LF, and decodes each.
QStringList splitTextLines(const QByteArray& bytes);

// Decodes one line: UTF-8 when valid, otherwise Windows-1252.
QString decodeLine(const QByteArray& bytes);

// A file that exists and holds at least one byte; the test never creates it.
bool fileHasContent(const QString& path);
