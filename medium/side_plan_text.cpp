#include "medium/side_plan_text.h"

#include "medium/medium_fit.h"
#include "medium/recorder_kind.h"

namespace {

QChar sideLetter(int side)
{
    return QChar(u'A' + side);
}

QString entriesText(const PlannedSide& side)
{
    if (side.count == 1)
        return QStringLiteral("track %1").arg(side.first + 1);
    return QStringLiteral("tracks %1–%2").arg(side.first + 1).arg(side.first + side.count);
}

// "side B 3:20 over; 260 tracks: 6 over the limit of 254".
QString sideProblems(const SidePlan& plan)
{
    QStringList problems;
    for (int side = 0; side < int(plan.sides.size()); ++side) {
        const double leftSeconds = plan.sides[size_t(side)].leftSeconds;
        if (leftSeconds < 0)
            problems << QStringLiteral("side %1 ").arg(sideLetter(side)) + overText(leftSeconds);
    }
    if (plan.tracksOver() > 0)
        problems << tracksOverText(plan.trackCount, plan.trackLimit);
    return problems.join(QStringLiteral("; "));
}

} // namespace

QStringList sidePlanLines(const SidePlan& plan, const PlaylistTable& table, const TitleLookup& lookup)
{
    QStringList lines;
    for (int side = 0; side < int(plan.sides.size()); ++side) {
        const PlannedSide& planned = plan.sides[size_t(side)];
        lines << QStringLiteral("Side %1: ").arg(sideLetter(side))
                + (planned.count == 0 ? QStringLiteral("empty")
                                      : entriesText(planned) + QStringLiteral(", ")
                                            + spaceText(planned.usedSeconds, plan.sideCapacitySeconds));
    }
    for (int index : plan.longerThanASide) {
        const PlaylistEntry& entry = table[size_t(index)];
        lines << QStringLiteral("“%1” (%2) fits on neither side")
                     .arg(entryTitle(entry.path, index + 1, lookup), trackLengthText(entry.length));
    }
    return lines;
}

QString recordAnywayQuestion(const PlaylistTable& table, const RecorderKind& kind, const SideSettings& settings,
                             double leadInSeconds)
{
    QString problems;
    if (kind.sides > 1) {
        const SidePlan plan = planSides(table, kind, settings, leadInSeconds);
        if (plan.fits())
            return {};
        problems = sideProblems(plan);
    } else {
        const MediumFit fit = mediumFit(table, kind, leadInSeconds);
        if (fit.fits())
            return {};
        problems = fitProblems(fit);
    }
    return QStringLiteral("The list does not fit on %1: %2. Record anyway?").arg(kind.name, problems);
}
