#pragma once

#include <QString>
#include <optional>
#include <vector>

// One output of the sound server: a card's analogue, S/PDIF, HDMI or USB
// endpoint, or a virtual one.
struct SoundOutput {
    QString name;        // the sound server's stable name, which a choice is remembered by
    QString description; // what the user is shown
    int rate = 0;        // samples a second the output runs at

    bool operator==(const SoundOutput&) const = default;
};

// The output of that name among outputs; nothing when it is not there.
inline std::optional<SoundOutput> outputNamed(const std::vector<SoundOutput>& outputs, const QString& name)
{
    for (const SoundOutput& output : outputs) {
        if (output.name == name)
            return output;
    }
    return std::nullopt;
}
