#include "discs/cue_disc.h"

#include "common/failure.h"
#include "common/regular_file.h"
#include "discs/cue_sheet_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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

constexpr qint64 kCdRate = 44100;
constexpr qint64 kRawSectorBytes = kFramesPerSector * 4;

// A file a sheet names, found and measured.
struct SheetFile {
    QString path;
    bool raw = false;
    qint64 bytes = 0;
    qint64 frames = 0; // at 44.1 kHz
};

// The names in folders, each folder listed once for all the files of a sheet.
class FolderNames {
public:
    // The name in folder that equals name in any case; empty when there is none.
    QString matching(const QDir& folder, const QString& name)
    {
        const QString path = folder.absolutePath();
        auto names = m_folders.find(path);
        if (names == m_folders.end()) {
            names = m_folders.insert(path, {});
            const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
            for (const QString& entry : folder.entryList(all, QDir::Name)) {
                const QString key = entry.toCaseFolded();
                if (!names->contains(key)) // the first of names alike but for case
                    names->insert(key, entry);
            }
        }
        return names->value(name.toCaseFolded());
    }

private:
    QHash<QString, QHash<QString, QString>> m_folders; // folder -> case-folded name -> name
};

// Sheets made on Windows name files in any case and with "\" between folders.
QString foundPath(const QDir& sheetFolder, const QString& name, FolderNames& folderNames)
{
    const QFileInfo named(sheetFolder.absoluteFilePath(QString(name).replace(u'\\', u'/')));
    if (named.exists() || named.isSymLink())
        return named.absoluteFilePath();
    // A folder of the machine the sheet was made on is not here; the file may be beside the sheet.
    for (const QDir& folder : {named.dir(), sheetFolder}) {
        const QString entry = folderNames.matching(folder, named.fileName());
        if (!entry.isEmpty())
            return folder.absoluteFilePath(entry);
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

SheetFile sheetFile(const CueFile& cueFile, const QDir& sheetFolder, const QString& sheetName, FolderNames& folderNames)
{
    SheetFile file;
    file.path = foundPath(sheetFolder, cueFile.name, folderNames);
    if (file.path.isEmpty())
        throw Failure(QStringLiteral("The CUE sheet %1 names a file that is not there: %2").arg(sheetName, cueFile.name));
    const QString kind = notARegularFile(file.path);
    if (!kind.isEmpty())
        throw Failure(QStringLiteral("The CUE sheet %1 names %2, which %3.").arg(sheetName, cueFile.name, kind));
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
    const CueSheet sheet = readCueSheetFile(sheetPath);
    FolderNames folderNames;
    QList<SheetFile> files;
    for (const CueFile& file : sheet.files)
        files << sheetFile(file, sheetInfo.absoluteDir(), sheetName, folderNames);

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
        // Track n is tracks[n - 1], as on a drive: a number the sheet skips is no track.
        while (disc.tracks.size() < track.number - 1)
            disc.tracks.append(DiscTrack::skipped());
        disc.tracks << discTrack;
    }
    return disc;
}
