#include "medium/recorder_kind.h"

#include "common/number_text.h"

#include <cmath>

namespace {

constexpr int kMiniDiscTracks = 254;
constexpr int kCdTracks = 99;
// A MiniDisc deck's default track marking (LevelSync).
constexpr SilenceRule kMiniDiscRule{-50, 1.5};
// CD recorders want about 3 s below -40 dB on their analogue input.
constexpr SilenceRule kCdRule{-40, 3};
// DAT decks write a start ID after a couple of seconds of silence.
constexpr SilenceRule kDatRule{-50, 2};
// A cassette deck's music search needs about 4 s of blank tape.
constexpr SilenceRule kCassetteRule{-40, 4};

void addMiniDiscs(std::vector<RecorderKind>& kinds)
{
    // LP2 and LP4 hold two and four times the SP time, in coarser track units.
    const struct {
        const char* mode;
        int timeFactor;
        int unitSeconds;
    } modes[] = {{"sp", 1, 2}, {"lp2", 2, 4}, {"lp4", 4, 8}};
    for (const auto& mode : modes) {
        for (int minutes : {60, 74, 80}) {
            const QString modeName = QString::fromLatin1(mode.mode);
            kinds.push_back({QStringLiteral("minidisc-%1-%2").arg(minutes).arg(modeName),
                             QStringLiteral("MiniDisc %1 min (%2)").arg(minutes).arg(modeName.toUpper()),
                             minutes * 60.0 * mode.timeFactor, kMiniDiscTracks, mode.unitSeconds, kMiniDiscRule, 2});
        }
    }
}

std::vector<RecorderKind> makeKinds()
{
    std::vector<RecorderKind> kinds;
    addMiniDiscs(kinds);
    for (int minutes : {74, 80})
        kinds.push_back({QStringLiteral("cd-r-%1").arg(minutes), QStringLiteral("CD-R %1 min").arg(minutes),
                         minutes * 60.0, kCdTracks, 0, kCdRule, 3});
    for (int minutes : {60, 90, 120, 180})
        kinds.push_back({QStringLiteral("dat-%1").arg(minutes), QStringLiteral("DAT %1 min").arg(minutes),
                         minutes * 60.0, 0, 0, kDatRule, 3});
    for (int minutes : {46, 60, 90, 120})
        kinds.push_back({QStringLiteral("cassette-c%1").arg(minutes),
                         QStringLiteral("Cassette C%1 (%2 min a side)").arg(minutes).arg(minutes / 2),
                         minutes * 30.0, 0, 0, kCassetteRule, 4, 2});
    return kinds;
}

} // namespace

const std::vector<RecorderKind>& recorderKinds()
{
    static const std::vector<RecorderKind> kinds = makeKinds();
    return kinds;
}

std::optional<RecorderKind> recorderKindById(const QString& id)
{
    for (const RecorderKind& kind : recorderKinds()) {
        if (kind.id == id)
            return kind;
    }
    return std::nullopt;
}

RecorderKind defaultRecorderKind()
{
    return *recorderKindById(QStringLiteral("minidisc-74-sp"));
}

bool isWithinRanges(const CustomRecorder& custom)
{
    using R = CustomRecorderRanges;
    return custom.minutes >= R::kMinutesLeast && custom.minutes <= R::kMinutesMost
        && custom.trackLimit >= 0 && custom.trackLimit <= R::kTrackLimitMost
        && custom.thresholdDb >= R::kThresholdLeast && custom.thresholdDb <= R::kThresholdMost
        && custom.minimumSeconds >= 0 && custom.minimumSeconds <= R::kSilenceMost
        && custom.sides >= 1 && custom.sides <= R::kSidesMost;
}

RecorderKind customRecorderKind(const CustomRecorder& custom)
{
    RecorderKind kind;
    kind.id = kCustomRecorderId;
    kind.name = custom.sides > 1 ? QStringLiteral("Custom (%1 min a side)").arg(plainNumber(custom.minutes))
                                 : QStringLiteral("Custom (%1 min)").arg(plainNumber(custom.minutes));
    kind.capacitySeconds = custom.minutes * 60;
    kind.sides = custom.sides;
    kind.trackLimit = custom.trackLimit;
    kind.silence = {custom.thresholdDb, custom.minimumSeconds};
    // The whole seconds that cover the recorder's minimum silence, as with the
    // built-in kinds (1.5 s gives 2 s, 3 s stays 3 s): the gaps the program plays
    // are exact, so no margin is needed beyond the rounding.
    kind.suggestedGapSeconds = std::ceil(custom.minimumSeconds);
    return kind;
}

CustomRecorder customFigures(const RecorderKind& kind)
{
    return {kind.capacitySeconds / 60, kind.trackLimit, kind.silence.thresholdDb, kind.silence.minimumSeconds,
            kind.sides};
}
