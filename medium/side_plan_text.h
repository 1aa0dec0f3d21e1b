#pragma once

#include "medium/side_plan.h"
#include "medium/track_list_text.h"

#include <QStringList>

// A line a side, "Side A: tracks 1–7, 28:10 of 29:54 used, 1:44 left" or "Side B:
// empty", then one for each entry longer than a side: "“Title” (35:00) fits on
// neither side".
QStringList sidePlanLines(const SidePlan& plan, const PlaylistTable& table, const TitleLookup& lookup);

// What is asked before recording a list that does not fit, side by side on a
// medium with sides; empty when the list fits.
QString recordAnywayQuestion(const PlaylistTable& table, const RecorderKind& kind, const SideSettings& settings,
                             double leadInSeconds = 0);
