#include "help_windows/volume_control.h"

#include <QProcess>
#include <QStandardPaths>

VolumeControl findVolumeControl(const QStringList& searchPaths)
{
    const struct {
        const char* name;
        QStringList arguments;
    } candidates[] = {
        {"pavucontrol", {}},
        {"pwvucontrol", {}},
        {"gnome-control-center", {QStringLiteral("sound")}},
    };
    for (const auto& candidate : candidates) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(candidate.name), searchPaths);
        if (!path.isEmpty())
            return {path, candidate.arguments};
    }
    return {};
}

void startVolumeControl(const VolumeControl& control)
{
    QProcess::startDetached(control.program, control.arguments);
}
