#include "file_headers/mp4_encoder_trim.h"

#include <QByteArrayView>
#include <QFile>
#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

// The movie box of hours of sound is a few megabytes; anything larger is not read.
constexpr qint64 kMaxMovieBytes = 64 * 1024 * 1024;
// Files have a handful of top-level boxes; a walk longer than this is through no MP4.
constexpr int kMaxTopLevelBoxes = 1000;
// Weeks of sound in any time scale: longer lengths are no sound track's, and this
// keeps their products with time scales within 64 bits.
constexpr quint64 kMaxTicks = quint64(1) << 40;
// Movies count in milliseconds, or at their sound's or pictures' rate.
constexpr quint32 kMaxMovieTimeScale = 1000000;

quint64 bigEndian(QByteArrayView bytes, qsizetype at, int count)
{
    quint64 value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

struct Box {
    QByteArrayView type;
    QByteArrayView body;
};

// The size of the box that header begins, and the header's length, when it fits in
// the rest bytes from there to the end; a size of 0 means all of them.
std::optional<std::pair<quint64, int>> boxSize(QByteArrayView header, qint64 rest)
{
    if (header.size() < 8)
        return std::nullopt;
    quint64 size = bigEndian(header, 0, 4);
    int headerSize = 8;
    if (size == 1) {
        if (header.size() < 16)
            return std::nullopt;
        size = bigEndian(header, 8, 8);
        headerSize = 16;
    } else if (size == 0) {
        size = quint64(rest);
    }
    if (size < quint64(headerSize) || size > quint64(rest))
        return std::nullopt;
    return std::pair{size, headerSize};
}

// The boxes one after another in bytes, up to the first that claims more than is there.
std::vector<Box> boxesIn(QByteArrayView bytes)
{
    std::vector<Box> boxes;
    qsizetype at = 0;
    while (bytes.size() - at >= 8) {
        const auto size = boxSize(bytes.sliced(at, std::min<qsizetype>(16, bytes.size() - at)), bytes.size() - at);
        if (!size)
            break;
        boxes.push_back({bytes.sliced(at + 4, 4), bytes.sliced(at + size->second, qsizetype(size->first) - size->second)});
        at += qsizetype(size->first);
    }
    return boxes;
}

std::optional<QByteArrayView> child(QByteArrayView bytes, QByteArrayView type)
{
    for (const Box& box : boxesIn(bytes)) {
        if (box.type == type)
            return box.body;
    }
    return std::nullopt;
}

// The contents of the box at the end of a path of nested boxes.
std::optional<QByteArrayView> descend(QByteArrayView bytes, std::initializer_list<const char*> path)
{
    std::optional<QByteArrayView> at = bytes;
    for (const char* type : path) {
        at = child(*at, type);
        if (!at)
            return std::nullopt;
    }
    return at;
}

struct MovieBox {
    QByteArray contents; // empty when there is none
    qint64 offset = 0; // of the contents in the file
};

// The movie box, wherever in the file it lies.
MovieBox movieBox(QFile& file)
{
    qint64 at = 0;
    for (int count = 0; count < kMaxTopLevelBoxes && file.size() - at >= 8; ++count) {
        if (!file.seek(at))
            return {};
        const QByteArray header = file.read(16);
        const auto size = boxSize(header, file.size() - at);
        if (!size)
            return {};
        if (header.mid(4, 4) == "moov") {
            if (qint64(size->first) > kMaxMovieBytes || !file.seek(at + size->second))
                return {};
            return {file.read(qint64(size->first) - size->second), at + size->second};
        }
        at += qint64(size->first);
    }
    return {};
}

// A length of width bytes at at in a box's contents, which lie within the movie box.
Mp4Length lengthAt(const MovieBox& movie, QByteArrayView contents, qsizetype at, int width)
{
    const qint64 offset = movie.offset + (contents.data() - movie.contents.constData()) + at;
    return {offset, width, bigEndian(contents, at, width)};
}

struct Edit {
    qint64 mediaTime; // where in the track it starts, in the track's time scale
    Mp4Length duration; // in the movie's time scale
};

struct SoundTrack {
    quint32 timeScale = 0;
    quint64 duration = 0; // in the time scale
    bool editSkipsStart = false; // its edit list starts past the track's first frame
    std::optional<Edit> onlyEdit; // when its edit list holds one edit
};

std::optional<SoundTrack> soundTrack(const MovieBox& movie)
{
    for (const Box& box : boxesIn(movie.contents)) {
        if (box.type != "trak")
            continue;
        const auto media = child(box.body, "mdia");
        const auto handler = media ? child(*media, "hdlr") : std::nullopt;
        if (!handler || handler->size() < 12 || handler->sliced(8, 4) != "soun")
            continue;
        const auto header = child(*media, "mdhd");
        if (!header || header->size() < 4)
            return std::nullopt;
        const bool wide = (*header)[0] == 1; // version 1: 64-bit times
        if (header->size() < (wide ? 32 : 20))
            return std::nullopt;
        SoundTrack track;
        track.timeScale = quint32(bigEndian(*header, wide ? 20 : 12, 4));
        track.duration = bigEndian(*header, wide ? 24 : 16, wide ? 8 : 4);
        if (const auto edits = descend(box.body, {"edts", "elst"}); edits && edits->size() >= 8) {
            // Each edit: its duration, then its start in the track, then its rate.
            const bool wideEdits = (*edits)[0] == 1;
            const int width = wideEdits ? 8 : 4;
            const qsizetype entrySize = 2 * width + 4;
            const quint64 count = bigEndian(*edits, 4, 4);
            for (quint64 i = 0; i < count && 8 + qsizetype(i + 1) * entrySize <= edits->size(); ++i) {
                const qsizetype at = 8 + qsizetype(i) * entrySize;
                const qint64 mediaTime = wideEdits ? qint64(bigEndian(*edits, at + width, 8))
                                                   : qint32(bigEndian(*edits, at + width, 4));
                track.editSkipsStart = track.editSkipsStart || mediaTime > 0;
                if (count == 1)
                    track.onlyEdit = Edit{mediaTime, lengthAt(movie, *edits, at, width)};
            }
        }
        return track;
    }
    return std::nullopt;
}

bool plausibleRate(quint32 timeScale)
{
    return timeScale >= 8000 && timeScale <= 384000;
}

// A number of the iTunSMPB comment: hex digits, no sign, no more than 64 bits hold.
std::optional<quint64> hexNumber(const QByteArray& text)
{
    quint64 value = 0;
    const auto [end, error] = std::from_chars(text.cbegin(), text.cend(), value, 16);
    if (text.isEmpty() || error != std::errc() || end != text.cend())
        return std::nullopt;
    return value;
}

// The text of the iTunSMPB comment among the movie's iTunes items; empty when there is none.
QByteArray itunesGaplessText(QByteArrayView movie)
{
    auto meta = descend(movie, {"udta", "meta"});
    if (!meta)
        return {};
    if (meta->size() >= 4 && bigEndian(*meta, 0, 4) == 0)
        meta = meta->sliced(4); // iTunes writes it as a full box, with version and flags
    const auto items = child(*meta, "ilst");
    if (!items)
        return {};
    for (const Box& item : boxesIn(*items)) {
        if (item.type != "----")
            continue;
        const auto name = child(item.body, "name");
        const auto data = child(item.body, "data");
        // Name: version and flags, then the text; data: type and locale, then the text.
        if (name && data && name->size() >= 4 && name->sliced(4) == "iTunSMPB" && data->size() >= 8)
            return data->sliced(8).toByteArray();
    }
    return {};
}

} // namespace

std::optional<EncoderTrim> mp4EncoderTrim(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const MovieBox movie = movieBox(file);
    const std::optional<SoundTrack> track = soundTrack(movie);
    if (!track || track->editSkipsStart || !plausibleRate(track->timeScale))
        return std::nullopt;
    // " 00000000 PPPPPPPP EEEEEEEE LLLLLLLLLLLLLLLL ...": priming, end padding, music, in hex.
    const QList<QByteArray> fields = itunesGaplessText(movie.contents).simplified().split(' ');
    if (fields.size() < 4 || track->duration > kMaxTicks)
        return std::nullopt;
    const std::optional<quint64> priming = hexNumber(fields[1]), padding = hexNumber(fields[2]),
                                 music = hexNumber(fields[3]);
    // Encoders prime and pad with a few thousand frames; a second of either is no encoder's.
    if (!priming || !padding || !music || *priming > track->timeScale || *padding > track->timeScale
        || *music == 0 || *priming > track->duration || *music > track->duration - *priming)
        return std::nullopt;
    return EncoderTrim{qint64(*priming), qint64(*music), int(track->timeScale)};
}

std::optional<Mp4PrimingEdit> mp4PrimingEdit(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const MovieBox movie = movieBox(file);
    const std::optional<SoundTrack> track = soundTrack(movie);
    const auto header = descend(movie.contents, {"mvhd"});
    if (!track || !track->onlyEdit || !plausibleRate(track->timeScale) || !header || header->size() < 4)
        return std::nullopt;
    // Version, flags, creation and change times, time scale, duration; version 1 has 64-bit times.
    const int width = (*header)[0] == 1 ? 8 : 4;
    if (header->size() < 8 + 3 * width)
        return std::nullopt;
    const quint32 movieTimeScale = quint32(bigEndian(*header, 4 + 2 * width, 4));
    const Edit& edit = *track->onlyEdit;
    const Mp4Length movieDuration = lengthAt(movie, *header, 8 + 2 * width, width);
    if (movieTimeScale == 0 || movieTimeScale > kMaxMovieTimeScale || movieDuration.value > kMaxTicks
        || track->duration > kMaxTicks || edit.duration.value > kMaxTicks
        || edit.mediaTime <= 0 || quint64(edit.mediaTime) >= track->duration)
        return std::nullopt;
    qint64 music = qint64(track->duration) - edit.mediaTime;
    // Encoders round the edit down to the movie's coarser ticks: the track says where the
    // music ends, unless the edit ends it sooner than that tick allows.
    const quint64 ticks = edit.duration.value;
    if (ticks > 0) {
        const quint64 editEnd = ((ticks + 1) * track->timeScale + movieTimeScale - 1) / movieTimeScale;
        music = std::min(music, qint64(editEnd));
    }
    return Mp4PrimingEdit{movieDuration, edit.duration, movieTimeScale,
                          edit.mediaTime, music, int(track->timeScale)};
}
