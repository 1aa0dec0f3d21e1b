#include "gain_tags/gain_tags.h"

#include "gain_tags/gain_values.h"
#include "gain_tags/relative_volume.h"

#include <QFile>
#include <QHash>
#include <taglib/apetag.h>
#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

namespace {

// Text fields by upper-case name, from every tag a file holds; the first tag to give a
// field wins. Vorbis comments, APE items and ID3v2 TXXX frames all arrive this way.
using TagFields = QHash<QString, QString>;

QString fromTagLib(const TagLib::String& text)
{
    return QString::fromStdString(text.to8Bit(true));
}

void addField(TagFields& fields, const QString& name, const TagLib::StringList& values)
{
    const QString key = name.toUpper();
    if (!values.isEmpty() && !fields.contains(key))
        fields.insert(key, fromTagLib(values.front()));
}

void addFields(TagFields& fields, const TagLib::PropertyMap& map)
{
    for (const auto& [name, values] : map)
        addField(fields, fromTagLib(name), values);
}

// MP4 keeps ReplayGain in iTunes freeform items, which TagLib's common fields leave out.
void addFreeformFields(TagFields& fields, const TagLib::MP4::Tag& tag)
{
    const QString prefix = QStringLiteral("----:com.apple.iTunes:");
    for (const auto& [key, item] : tag.itemMap()) {
        const QString name = fromTagLib(key);
        if (name.startsWith(prefix, Qt::CaseInsensitive))
            addField(fields, name.mid(prefix.size()), item.toStringList());
    }
}

// An R128 gain, the form Opus defines, before a ReplayGain one. GStreamer's opusdec, the
// player's decoder, applies the output gain of an Opus header by default (its apply-gain
// property is on), and the R128 gains are defined on top of that output gain, so they
// apply as they stand.
std::optional<double> fieldGain(const TagFields& fields, const QString& kind)
{
    const std::optional<double> r128 = gainFromR128Text(fields.value(QStringLiteral("R128_%1_GAIN").arg(kind)));
    return r128 ? r128 : gainFromText(fields.value(QStringLiteral("REPLAYGAIN_%1_GAIN").arg(kind)));
}

} // namespace

GainTags readGainTags(const QString& path)
{
    // Tags only: the audio properties would cost reading into the sound.
    const TagLib::FileRef file(QFile::encodeName(path).constData(), false, TagLib::AudioProperties::Fast);
    if (file.isNull())
        return {};
    TagFields fields;
    addFields(fields, file.file()->properties());
    auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file.file());
    // An MP3's common fields come from its ID3v2 tag alone when it has one, but
    // ReplayGain taggers for MP3 often write an APE tag beside it.
    if (mpeg && mpeg->hasAPETag())
        addFields(fields, mpeg->APETag()->properties());
    if (const auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file.file()); mp4 && mp4->tag())
        addFreeformFields(fields, *mp4->tag());

    GainTags tags;
    tags.trackGain = fieldGain(fields, QStringLiteral("TRACK"));
    tags.trackPeak = peakFromText(fields.value(QStringLiteral("REPLAYGAIN_TRACK_PEAK")));
    tags.albumGain = fieldGain(fields, QStringLiteral("ALBUM"));
    tags.albumPeak = peakFromText(fields.value(QStringLiteral("REPLAYGAIN_ALBUM_PEAK")));
    if (mpeg && mpeg->hasID3v2Tag())
        addRelativeVolumes(tags, *mpeg->ID3v2Tag());
    if (file.tag())
        tags.album = fromTagLib(file.tag()->album()).trimmed();
    return tags;
}
