#include "gain_tags/gain_values.h"

#include <QString>
#include <cmath>

namespace {

// A gain this far either way comes from a broken tag, not from a recording.
constexpr double kMaxGain = 60;
// Lossy files may peak a little above full scale, never tenfold; a peak 100 dB down
// is silence, and a gain worked out from it would be huge.
constexpr double kMaxPeak = 10;
constexpr double kMinPeak = 1e-5;
// R128 gains aim at -23 LUFS, five dB below the level the others aim at.
constexpr double kR128Offset = 5;

std::optional<double> number(QStringView text)
{
    QString digits = text.trimmed().toString();
    if (digits.startsWith(QChar(0x2212))) // a typographic minus
        digits[0] = u'-';
    bool ok = false;
    const double value = digits.toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

} // namespace

std::optional<double> soundGain(double gain)
{
    return std::isfinite(gain) && std::abs(gain) <= kMaxGain ? std::optional(gain) : std::nullopt;
}

std::optional<double> soundPeak(double peak)
{
    return std::isfinite(peak) && peak >= kMinPeak && peak <= kMaxPeak ? std::optional(peak) : std::nullopt;
}

std::optional<double> gainFromText(QStringView text)
{
    text = text.trimmed();
    if (text.endsWith(u"dB", Qt::CaseInsensitive))
        text.chop(2);
    const std::optional<double> gain = number(text);
    return gain ? soundGain(*gain) : std::nullopt;
}

std::optional<double> peakFromText(QStringView text)
{
    const std::optional<double> peak = number(text);
    return peak ? soundPeak(*peak) : std::nullopt;
}

std::optional<double> gainFromR128Text(QStringView text)
{
    bool ok = false;
    const int steps = text.trimmed().toString().toInt(&ok);
    return ok ? soundGain(steps / 256.0 + kR128Offset) : std::nullopt;
}
