#pragma once

#include "recording/when_done.h"

#include <QString>
#include <QStringList>
#include <optional>

// settings.dat: the "When done" choices, four lines.
inline const QString kSettingsFileName = QStringLiteral("settings.dat");

// What a settings file says; a line that is missing or cannot be read stays empty.
struct SettingsRead {
    std::optional<BoxState> save;
    std::optional<PlaylistFormat> format;
    std::optional<BoxState> exit;
    std::optional<BoxState> shutdown;
};

SettingsRead parseSettings(const QStringList& lines);
QStringList settingsLines(const WhenDoneChoices& choices);

// Reads settings.dat; no file, an empty or an unreadable one reads as nothing.
SettingsRead readSettingsFile(const QString& path);
// Replaces settings.dat only once the new content is complete. Throws a Failure.
void writeSettingsFile(const QString& path, const WhenDoneChoices& choices);
