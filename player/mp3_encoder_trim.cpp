#include "player/mp3_encoder_trim.h"

#include <QFile>

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

} // namespace

std::optional<EncoderTrim> mp3EncoderTrim(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray start = file.read(10);
    if (start.size() == 10 && start.startsWith("ID3")) { // a tag before the first frame
        file.seek(10 + ((quint32(start[6] & 0x7f) << 21) | (quint32(start[7] & 0x7f) << 14)
                        | (quint32(start[8] & 0x7f) << 7) | quint32(start[9] & 0x7f)));
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
    if (!(flags & 1))
        return std::nullopt; // no frame count
    const qint64 frames = bigEndian(frame, header + 8, 4);
    const qsizetype lame = header + 8 + 4 + ((flags & 2) ? 4 : 0) + ((flags & 4) ? 100 : 0) + ((flags & 8) ? 4 : 0);
    if (frame.size() < lame + 36 || lameCrc(frame.constData(), lame + 34) != bigEndian(frame, lame + 34, 2))
        return std::nullopt;
    if (frame.mid(lame, 4) == "LAME")
        return std::nullopt;
    const quint32 delayAndPadding = bigEndian(frame, lame + 21, 3);
    const qint64 delay = delayAndPadding >> 12, padding = delayAndPadding & 0xfff;
    const qint64 total = frames * (version == 3 ? 1152 : 576);
    if (delay + padding >= total)
        return std::nullopt;
    return EncoderTrim{delay + kDecoderDelay, total - delay - padding, rates[version][rateIndex]};
}
