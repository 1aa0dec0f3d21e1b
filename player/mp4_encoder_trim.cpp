#include "player/mp4_encoder_trim.h"

#include <QByteArrayView>
#include <QFile>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

// The movie box of hours of sound is a few megabytes; anything larger is not read.
constexpr qint64 kMaxMovieBytes = 64 * 1024 * 1024;
// Files have a handful of top-level boxes; a walk longer than this is through no MP4.
constexpr int kMaxTopLevelBoxes = 1000;

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

// The movie box's contents, wherever in the file it lies; empty when there is none.
QByteArray movieBox(QFile& file)
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
            return file.read(qint64(size->first) - size->second);
        }
        at += qint64(size->first);
    }
    return {};
}

struct SoundTrack {
    quint32 timeScale = 0;
    quint64 duration = 0; // in the time scale
    bool editSkipsStart = false; // its edit list starts past the track's first frame
};

std::optional<SoundTrack> soundTrack(QByteArrayView movie)
{
    for (const Box& box : boxesIn(movie)) {
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
            const bool wideEdits = (*edits)[0] == 1;
            const qsizetype entrySize = wideEdits ? 20 : 12;
            const quint64 count = bigEndian(*edits, 4, 4);
            for (quint64 i = 0; i < count && 8 + qsizetype(i + 1) * entrySize <= edits->size(); ++i) {
                const qsizetype at = 8 + qsizetype(i) * entrySize + (wideEdits ? 8 : 4);
                const qint64 mediaTime = wideEdits ? qint64(bigEndian(*edits, at, 8)) : qint32(bigEndian(*edits, at, 4));
                track.editSkipsStart = track.editSkipsStart || mediaTime > 0;
            }
        }
        return track;
    }
    return std::nullopt;
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
    const QByteArray movie = movieBox(file);
    const std::optional<SoundTrack> track = soundTrack(movie);
    if (!track || track->editSkipsStart || track->timeScale < 8000 || track->timeScale > 384000)
        return std::nullopt;
    // " 00000000 PPPPPPPP EEEEEEEE LLLLLLLLLLLLLLLL ...": priming, end padding, music, in hex.
    const QList<QByteArray> fields = itunesGaplessText(movie).simplified().split(' ');
    if (fields.size() < 4)
        return std::nullopt;
    bool primingOk = false, musicOk = false;
    const qint64 priming = fields[1].toLongLong(&primingOk, 16);
    const qint64 music = fields[3].toLongLong(&musicOk, 16);
    if (!primingOk || !musicOk || priming < 0 || music <= 0 || quint64(priming) + quint64(music) > track->duration)
        return std::nullopt;
    return EncoderTrim{priming, music, int(track->timeScale)};
}
