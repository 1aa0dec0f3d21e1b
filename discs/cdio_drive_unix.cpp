#include "discs/cdio_drive.h"

#include <cdio/cdio.h>
#include <cdio/cdtext.h>
#include <cdio/logging.h>
#include <QStringDecoder>
#include <algorithm>
#include <memory>

namespace {

// libcdio would write its complaints about empty drives and unreadable images to stderr.
void ignoreLibcdioMessage(cdio_log_level_t, const char[]) { }

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
using CdioHandle = std::unique_ptr<CdIo_t, CdioCloser>;

// A field of the disc's CD-Text for a track (0: the disc), which libcdio gives in UTF-8.
// It takes a CUE image's text for Latin-1, as a disc's mostly is; a sheet written in
// UTF-8 would come out spelt twice over ("RÃ\u00ado"), so such text is read again as
// the UTF-8 it was.
QString textField(cdtext_t* text, cdtext_field_t field, track_t track)
{
    const char* value = text ? cdtext_get_const(text, field, track) : nullptr;
    if (!value)
        return {};
    const QString decoded = QString::fromUtf8(value);
    const bool latin = std::all_of(decoded.begin(), decoded.end(), [](QChar c) { return c.unicode() <= 0xff; });
    if (latin) {
        const QByteArray bytes = decoded.toLatin1();
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString again = utf8(bytes);
        if (!utf8.hasError() && again != decoded)
            return again.simplified();
    }
    return decoded.simplified();
}

// "Performer - Title" when the text names both, as CUE sheets' titles are given.
QString trackTitle(cdtext_t* text, track_t track)
{
    const QString title = textField(text, CDTEXT_FIELD_TITLE, track);
    QString performer = textField(text, CDTEXT_FIELD_PERFORMER, track);
    if (performer.isEmpty())
        performer = textField(text, CDTEXT_FIELD_PERFORMER, 0);
    return title.isEmpty() || performer.isEmpty() ? title : performer + QStringLiteral(" - ") + title;
}

std::optional<Disc> discIn(const char* device)
{
    const CdioHandle cdio(cdio_open(device, DRIVER_UNKNOWN));
    if (!cdio)
        return std::nullopt;
    const track_t first = cdio_get_first_track_num(cdio.get());
    const track_t last = cdio_get_last_track_num(cdio.get());
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || last < first)
        return std::nullopt;
    const QString name = QString::fromLocal8Bit(device);

    Disc disc;
    cdtext_t* text = cdio_get_cdtext(cdio.get()); // the handle's own; none on most discs
    disc.title = textField(text, CDTEXT_FIELD_TITLE, 0);
    // Track n is always tracks[n - 1], even on a disc whose numbers begin later.
    for (int missing = 1; missing < first; ++missing)
        disc.tracks.append(DiscTrack::skipped());
    bool anyAudio = false;
    for (int number = first; number <= last; ++number) {
        DiscTrack track;
        track.audio = cdio_get_track_format(cdio.get(), track_t(number)) == TRACK_FORMAT_AUDIO;
        track.sectors = cdio_get_track_sec_count(cdio.get(), track_t(number));
        track.start = cdio_get_track_lsn(cdio.get(), track_t(number));
        track.sound = { SoundSource::Kind::DriveTrack, name, number };
        track.title = trackTitle(text, track_t(number));
        anyAudio = anyAudio || track.audio;
        disc.tracks.append(track);
    }
    if (!anyAudio)
        return std::nullopt;
    disc.leadOut = cdio_get_track_lsn(cdio.get(), CDIO_CDROM_LEADOUT_TRACK);
    return disc;
}

} // namespace

std::optional<Disc> readDriveDisc(const QString& device)
{
    cdio_log_set_handler(ignoreLibcdioMessage);
    if (!device.isEmpty())
        return discIn(device.toLocal8Bit().constData());
    char** drives = cdio_get_devices(DRIVER_DEVICE);
    std::optional<Disc> disc;
    for (char** drive = drives; drive && *drive && !disc; ++drive)
        disc = discIn(*drive);
    cdio_free_device_list(drives);
    return disc;
}
