#include "listening/received_wav.h"

#include "common/failure.h"

#include <QDir>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kBytesPerFrame = kChannels * 2;
constexpr qint64 kHeaderBytes = 44;

void putLe32(char* at, quint32 value)
{
    qToLittleEndian(value, at);
}

QByteArray header(qint64 dataBytes)
{
    QByteArray bytes(kHeaderBytes, '\0');
    char* at = bytes.data();
    memcpy(at, "RIFF", 4);
    putLe32(at + 4, quint32(36 + dataBytes));
    memcpy(at + 8, "WAVEfmt ", 8);
    putLe32(at + 16, 16);
    qToLittleEndian<quint16>(1, at + 20); // PCM
    qToLittleEndian<quint16>(kChannels, at + 22);
    putLe32(at + 24, kRate);
    putLe32(at + 28, kRate * kBytesPerFrame);
    qToLittleEndian<quint16>(kBytesPerFrame, at + 32);
    qToLittleEndian<quint16>(16, at + 34);
    memcpy(at + 36, "data", 4);
    putLe32(at + 40, quint32(dataBytes));
    return bytes;
}

QString clock(qint64 frames)
{
    const qint64 seconds = frames / kRate;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

ReceivedWav::ReceivedWav(const QString& path, qint64 mostDataBytes)
    : m_file(path)
    , m_mostDataBytes(mostDataBytes / kBytesPerFrame * kBytesPerFrame)
{
    // Unbuffered, so that a full disk shows at the write that meets it.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw Failure(QStringLiteral("%1 could not be made: %2").arg(QDir::toNativeSeparators(path), m_file.errorString()));
    if (m_file.write(header(0)) != kHeaderBytes)
        fail(m_file.errorString());
}

ReceivedWav::~ReceivedWav()
{
    finish();
}

void ReceivedWav::append(const float* interleavedStereo, qint64 frames)
{
    if (!m_file.isOpen() || !m_problem.isEmpty())
        return;
    const qint64 room = (m_mostDataBytes - m_dataBytes) / kBytesPerFrame;
    const qint64 taken = std::min(frames, room);
    std::vector<qint16> samples(size_t(taken * kChannels));
    for (size_t i = 0; i < samples.size(); ++i) {
        const float sample = std::clamp(interleavedStereo[i], -1.0f, 1.0f);
        samples[i] = qToLittleEndian(qint16(std::lround(sample * 32767.0f)));
    }
    const qint64 bytes = taken * kBytesPerFrame;
    const qint64 written = m_file.write(reinterpret_cast<const char*>(samples.data()), bytes);
    if (written > 0)
        m_dataBytes += written / kBytesPerFrame * kBytesPerFrame;
    if (written != bytes)
        fail(m_file.errorString());
    else if (taken < frames)
        fail(QStringLiteral("a WAV file holds %1 at most").arg(clock(m_mostDataBytes / kBytesPerFrame)));
}

void ReceivedWav::finish()
{
    if (!m_file.isOpen())
        return;
    // Rewriting the header in place needs no room on the disk; a device has none to rewrite.
    if (!m_file.isSequential()) {
        m_file.resize(kHeaderBytes + m_dataBytes);
        if (!m_file.seek(0) || m_file.write(header(m_dataBytes)) != kHeaderBytes)
            fail(m_file.errorString());
    }
    m_file.close();
}

void ReceivedWav::fail(const QString& why)
{
    if (m_problem.isEmpty())
        m_problem = why;
}

QString ReceivedWav::note() const
{
    const QString path = QDir::toNativeSeparators(m_file.fileName());
    if (m_problem.isEmpty())
        return QStringLiteral("The received sound is in %1.").arg(path);
    return QStringLiteral("The received sound is in %1 up to %2 only: %3.")
        .arg(path, clock(m_dataBytes / kBytesPerFrame), m_problem);
}

QString receivedWavPath(const QString& folder, const QString& listName, const QDateTime& start)
{
    const QString name = listName.isEmpty() ? QStringLiteral("Trelvik") : listName;
    return QDir(folder).filePath(
        QStringLiteral("%1 received %2.wav").arg(name, start.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))));
}
