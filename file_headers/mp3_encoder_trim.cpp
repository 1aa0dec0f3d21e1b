#include "file_headers/mp3_encoder_trim.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr int kDecoderDelay = 529; // every MPEG layer III decoder's own delay, in frames

quint32 bigEndian(const QByteArray& bytes, qsizetype at, int count)
{
    quint32 value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

// The checksum the LAME extension keeps of the frame's bytes before it.
quint16 lameCrc(const char* data, qsizetype size)
{
    quint16 crc = 0;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

// The bytes of the tags after the last frame: an ID3v1 tag, and an APE tag before it.
qint64 trailingTagBytes(QFile& file)
{
    qint64 end = file.size();
    if (end >= 128 && file.seek(end - 128) && file.read(3) == "TAG")
        end -= 128;
    if (end >= 32 && file.seek(end - 32)) {
        const QByteArray footer = file.read(32);
        if (footer.size() == 32 && footer.startsWith("APETAGEX")) {
            // Its size counts the footer and the items; a header may come before them.
            const qint64 size = qFromLittleEndian<quint32>(footer.constData() + 12)
                + ((qFromLittleEndian<quint32>(footer.constData() + 20) & 0x80000000) ? 32 : 0);
            if (size <= end)
                end -= size;
        }
    }
    return file.size() - end;
}

} // namespace

std::optional<EncoderTrim> mp3EncoderTrim(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray start = file.read(10);
    qint64 frameStart = 0;
    if (start.size() == 10 && start.startsWith("ID3")) { // a tag before the first frame
        frameStart = 10 + ((quint32(start[6] & 0x7f) << 21) | (quint32(start[7] & 0x7f) << 14)
                           | (quint32(start[8] & 0x7f) << 7) | quint32(start[9] & 0x7f));
        file.seek(frameStart);
        start.clear();
    }
    const QByteArray frame = start + file.read(400);
    if (frame.size() < 200 || bigEndian(frame, 0, 2) >> 5 != 0x7ff || ((frame[1] >> 1) & 3) != 1)
        return std::nullopt; // not the start of an MPEG layer III frame
    const int version = (frame[1] >> 3) & 3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    static const int rates[4][3] = {{11025, 12000, 8000}, {}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    const int rateIndex = (frame[2] >> 2) & 3;
    if (version == 1 || rateIndex == 3)
        return std::nullopt;
    const bool mono = ((frame[3] >> 6) & 3) == 3;
    const qsizetype header = 4 + (version == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    const QByteArray id = frame.mid(header, 4);
    if (id != "Info" && id != "Xing")
        return std::nullopt;
    const quint32 flags = bigEndian(frame, header + 4, 4);
    if ((flags & 3) != 3)
        return std::nullopt; // no frame count, or no byte count to check it against
    const qint64 frames = bigEndian(frame, header + 8, 4);
    const qint64 bytes = bigEndian(frame, header + 12, 4);
    const qsizetype lame = header + 16 + ((flags & 4) ? 100 : 0) + ((flags & 8) ? 4 : 0);
    if (frame.size() < lame + 36 || lameCrc(frame.constData(), lame + 34) != bigEndian(frame, lame + 34, 2))
        return std::nullopt;
    if (frame.mid(lame, 4) == "LAME")
        return std::nullopt;
    const quint32 delayAndPadding = bigEndian(frame, lame + 21, 3);
    const qint64 delay = delayAndPadding >> 12, padding = delayAndPadding & 0xfff;
    const qint64 total = frames * (version == 3 ? 1152 : 576);
    if (delay + padding >= total)
        return std::nullopt;
    // Files joined, or grown after the header was written, hold frames it does not
    // count: trimming by its count would cut them off, far more than its padding.
    // Room for one more frame of the stream's average size is too much.
    if (file.size() - frameStart - trailingTagBytes(file) - bytes >= bytes / frames)
        return std::nullopt;
    return EncoderTrim{delay + kDecoderDelay, total - delay - padding, rates[version][rateIndex]};
}
