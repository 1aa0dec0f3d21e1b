#pragma once

#include "medium/silence_rule.h"

#include <QString>
#include <optional>
#include <vector>

// A machine and medium the playlist is recorded to, and how it counts and splits.
struct RecorderKind {
    QString id;   // stable, as recorder.dat keeps it
    QString name; // as the user sees it: "MiniDisc 74 min (SP)"
    double capacitySeconds = 0;
    int trackLimit = 0;       // 0: no limit
    int trackUnitSeconds = 0; // each track takes whole units of this; 0: no rounding
    SilenceRule silence;
    double suggestedGapSeconds = 0;
    int sides = 1; // a cassette is recorded one side at a time; capacitySeconds is a side's
};

// What the user sets for a recorder of their own.
struct CustomRecorder {
    double minutes = 74;
    int trackLimit = 0;
    double thresholdDb = -50;
    double minimumSeconds = 2;
    int sides = 1; // with two, the minutes are a side's
};

// The ranges a custom recorder's figures are taken from, in the window and in the file.
struct CustomRecorderRanges {
    static constexpr double kMinutesLeast = 1, kMinutesMost = 999;
    static constexpr int kTrackLimitMost = 9999;
    static constexpr double kThresholdLeast = -96, kThresholdMost = 0;
    static constexpr double kSilenceMost = 30;
    static constexpr int kSidesMost = 2;
};

inline const QString kCustomRecorderId = QStringLiteral("custom");

// The recorders to choose from, in the order offered; the custom one is not among them.
const std::vector<RecorderKind>& recorderKinds();
// One of recorderKinds() by its id.
std::optional<RecorderKind> recorderKindById(const QString& id);
// MiniDisc 74 min in SP: the recorder when none has been chosen.
RecorderKind defaultRecorderKind();

// A custom recorder; its figures must lie within CustomRecorderRanges.
RecorderKind customRecorderKind(const CustomRecorder& custom);
bool isWithinRanges(const CustomRecorder& custom);
// The figures of a custom recorder kind, as the user set them.
CustomRecorder customFigures(const RecorderKind& kind);
