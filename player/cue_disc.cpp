#include "player/cue_disc.h"

#include "common/failure.h"
#include "player/cue_sheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
// Before the property headers, which use its macros without including it.
#include <taglib/fileref.h>

#include <taglib/aiffproperties.h>
#include <taglib/apeproperties.h>
#include <taglib/flacproperties.h>
#include <taglib/mpcproperties.h>
#include <taglib/trueaudioproperties.h>
#include <taglib/wavpackproperties.h>
#include <taglib/wavproperties.h>

namespace {

constexpr qint64 kMaxSheetBytes = 1024 * 1024;
constexpr qint64 kCdRate = 44100;
constexpr qint64 kRawSectorBytes = kFramesPerSector * 4;

// A file a sheet names, found and measured.
struct SheetFile {
    QString path;
    bool raw = false;
    qint64 bytes = 0;
    qint64 frames = 0; // at 44.1 kHz
};

CueSheet readSheet(const QString& sheetPath, const QString& sheetName)
{
    QFile file(sheetPath);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("The CUE sheet %1 cannot be read: %2").arg(sheetName, file.errorString()));
    const QByteArray bytes = file.read(kMaxSheetBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw Failure(QStringLiteral("The CUE sheet %1 cannot be read: %2").arg(sheetName, file.errorString()));
    if (bytes.size() > kMaxSheetBytes)
        throw Failure(QStringLiteral("The CUE sheet %1 is over 1 MiB, too large to be one.").arg(sheetName));
    try {
        return parseCueSheet(bytes);
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("The CUE sheet %1 cannot be used. %2").arg(sheetName, failure.description()));
    }
}

// Sheets made on Windows name files in any case and with "\" between folders.
QString foundPath(const QDir& sheetFolder, const QString& name)
{
    const QFileInfo named(sheetFolder.absoluteFilePath(QString(name).replace(u'\\', u'/')));
    if (named.isFile())
        return named.absoluteFilePath();
    // A folder of the machine the sheet was made on is not here; the file may be beside the sheet.
    for (const QDir& folder : {named.dir(), sheetFolder}) {
        for (const QString& entry : folder.entryList(QDir::Files)) {
            if (entry.compare(named.fileName(), Qt::CaseInsensitive) == 0)
                return folder.absoluteFilePath(entry);
        }
    }
    return {};
}

template <typename Properties>
bool readSampleFrames(const TagLib::AudioProperties* properties, qint64& frames)
{
    const auto* known = dynamic_cast<const Properties*>(properties);
    if (known)
        frames = qint64(known->sampleFrames());
    return known;
}

// The types whose headers count their samples exactly.
template <typename... Kinds>
qint64 sampleFrames(const TagLib::AudioProperties* properties)
{
    qint64 frames = 0;
    (void)(readSampleFrames<Kinds>(properties, frames) || ...);
    return frames;
}

// The exact sample count of a media file at 44.1 kHz, or 0 when its headers do not give it.
qint64 mediaFrames(const QString& path)
{
    const TagLib::FileRef file(QFile::encodeName(path).constData(), true, TagLib::AudioProperties::Fast);
    const TagLib::AudioProperties* properties = file.audioProperties();
    if (!properties || properties->sampleRate() <= 0)
        return 0;
    const qint64 frames = sampleFrames<TagLib::FLAC::Properties, TagLib::RIFF::WAV::Properties,
        TagLib::RIFF::AIFF::Properties, TagLib::APE::Properties, TagLib::WavPack::Properties,
        TagLib::TrueAudio::Properties, TagLib::MPC::Properties>(properties);
    return frames * kCdRate / properties->sampleRate();
}

SheetFile sheetFile(const CueFile& cueFile, const QDir& sheetFolder, const QString& sheetName)
{
    SheetFile file;
    file.path = foundPath(sheetFolder, cueFile.name);
    if (file.path.isEmpty())
        throw Failure(QStringLiteral("The CUE sheet %1 names a file that is not there: %2").arg(sheetName, cueFile.name));
    file.raw = cueFile.type != CueFile::Type::Media;
    file.bytes = QFileInfo(file.path).size();
    file.frames = file.raw ? file.bytes / kRawSectorBytes * kFramesPerSector : mediaFrames(file.path);
    if (!file.raw && file.frames <= 0)
        throw Failure(QStringLiteral("The CUE sheet %1 names a file whose length its headers do not give: %2")
                          .arg(sheetName, cueFile.name));
    return file;
}

} // namespace

Disc discOfCueSheet(const QString& sheetPath)
{
    const QFileInfo sheetInfo(sheetPath);
    const QString sheetName = sheetInfo.fileName();
    const CueSheet sheet = readSheet(sheetPath, sheetName);
    QList<SheetFile> files;
    for (const CueFile& file : sheet.files)
        files << sheetFile(file, sheetInfo.absoluteDir(), sheetName);

    Disc disc;
    for (qsizetype i = 0; i < sheet.tracks.size(); ++i) {
        const CueTrack& track = sheet.tracks[i];
        const SheetFile& file = files[track.file];
        const QString& fileName = sheet.files[track.file].name;
        // The next track's pregap, when it shares the file, sounds at the end of this one.
        const CueTrack* next = i + 1 < sheet.tracks.size() && sheet.tracks[i + 1].file == track.file ? &sheet.tracks[i + 1] : nullptr;
        // Audio is measured in frames, data in its own sectors.
        const qint64 unit = track.audio ? kFramesPerSector : 1;
        const qint64 fileEnd = track.audio ? file.frames
            : file.raw                     ? file.bytes / track.sectorBytes
                                           : file.frames / kFramesPerSector;
        const qint64 first = track.startSector * unit;
        const qint64 end = next ? next->startSector * unit : fileEnd;
        if (first >= fileEnd)
            throw Failure(QStringLiteral("The CUE sheet %1 starts track %2 at or past the end of %3.")
                              .arg(sheetName).arg(track.number).arg(fileName));
        if (end <= first) // only a next track can end this one there, the file's end lying past its start
            throw Failure(QStringLiteral("The CUE sheet %1 leaves track %2 empty: track %3 starts at the same place in %4.")
                              .arg(sheetName).arg(track.number).arg(next->number).arg(fileName));
        DiscTrack discTrack;
        discTrack.audio = track.audio;
        discTrack.sectors = (end - first) / unit;
        if (track.audio) {
            discTrack.sound.kind = file.raw ? SoundSource::Kind::RawImage : SoundSource::Kind::File;
            discTrack.sound.path = file.path;
            discTrack.sound.firstFrame = first;
            discTrack.sound.endFrame = end;
            discTrack.sound.bigEndian = sheet.files[track.file].type == CueFile::Type::RawBigEndian;
        }
        disc.tracks << discTrack;
    }
    return disc;
}
