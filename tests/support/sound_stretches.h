#pragma once

#include <QFile>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <vector>

// The samples of a 16-bit PCM WAV file, its channels interleaved; none when it
// cannot be read.
struct WavSamples {
    int channels = 1;
    int rate = 44100;
    std::vector<qint16> samples;
    qsizetype frames() const { return qsizetype(samples.size()) / channels; }
};

inline WavSamples readWav(const QString& wavPath)
{
    WavSamples wav;
    QFile file(wavPath);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        if (id == "fmt ") {
            wav.channels = qFromLittleEndian<quint16>(bytes.constData() + pos + 10);
            wav.rate = int(qFromLittleEndian<quint32>(bytes.constData() + pos + 12));
        } else if (id == "data") {
            // Read to the end: an unfinished header may give no size.
            const auto* first = reinterpret_cast<const qint16*>(bytes.constData() + pos + 8);
            wav.samples.assign(first, first + (bytes.size() - pos - 8) / 2 / wav.channels * wav.channels);
            break;
        }
        pos += 8 + size + (size & 1);
    }
    return wav;
}

// The stretches of sound in a 16-bit PCM WAV recording: RMS over 10 ms windows,
// a window louder than the threshold (of full scale) is sound. A break shorter than
// bridge seconds (an underrun of a loaded machine) does not split a stretch.
struct SoundStretch {
    double start = 0; // seconds from the start of the recording
    double end = 0;
    double length() const { return end - start; }
};

inline std::vector<SoundStretch> soundStretches(const QString& wavPath, double bridge = 0.1, double threshold = 0.02)
{
    const WavSamples wav = readWav(wavPath);
    const int channels = wav.channels, rate = wav.rate;
    const qsizetype frames = wav.frames(), window = rate / 100;
    // Edges found by windows are sharpened to the first or last loud sample near them.
    const auto loudAt = [&](qsizetype frame) { return std::abs(double(wav.samples[size_t(frame * channels)])) > threshold * 32768; };
    const auto firstLoud = [&](qsizetype from, qsizetype to) {
        for (from = std::max<qsizetype>(from, 0); from < to && !loudAt(from);)
            ++from;
        return from;
    };
    const auto endOfLoud = [&](qsizetype from, qsizetype to) {
        while (to > std::max<qsizetype>(from, 0) && !loudAt(to - 1))
            --to;
        return to;
    };
    std::vector<SoundStretch> stretches;
    bool inSound = false;
    for (qsizetype first = 0; first + window <= frames; first += window) {
        double sum = 0; // over all channels of the window
        for (qsizetype i = first * channels; i < (first + window) * channels; ++i)
            sum += double(wav.samples[size_t(i)]) * wav.samples[size_t(i)];
        const double rms = std::sqrt(sum / double(window * channels)) / 32768.0;
        if (rms > threshold && !inSound) {
            const double start = double(firstLoud(first - window, first + window)) / rate;
            if (stretches.empty() || start - stretches.back().end >= bridge) // else the break is bridged
                stretches.push_back({start, double(first) / rate});
            inSound = true;
        } else if (rms <= threshold && inSound) {
            stretches.back().end = double(endOfLoud(first - window, first + window)) / rate;
            inSound = false;
        }
    }
    if (inSound)
        stretches.back().end = double(frames) / rate;
    return stretches;
}
