#pragma once

#include <QFile>
#include <QString>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>

// Notes an encoder's silence in an MP4 file as iTunes does, in an iTunSMPB comment
// (ffmpeg writes none): priming, end padding and music, in frames.
inline bool writeItunesGapless(const QString& path, qint64 priming, qint64 padding, qint64 music)
{
    TagLib::MP4::File file(QFile::encodeName(path).constData());
    if (!file.isValid() || !file.tag())
        return false;
    const QString text = QStringLiteral(" 00000000 %1 %2 %3 00000000 00000000")
                             .arg(priming, 8, 16, QLatin1Char('0')).arg(padding, 8, 16, QLatin1Char('0'))
                             .arg(music, 16, 16, QLatin1Char('0')).toUpper();
    file.tag()->setItem("----:com.apple.iTunes:iTunSMPB",
                        TagLib::StringList(TagLib::String(text.toStdString(), TagLib::String::UTF8)));
    return file.save();
}
