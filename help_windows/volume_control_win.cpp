#include "help_windows/volume_control.h"

#include <QFileInfo>
#include <QProcess>

#include <windows.h>

namespace {

QString systemFolder(UINT (*ask)(LPWSTR, UINT))
{
    wchar_t buffer[MAX_PATH];
    const UINT length = ask(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? QString::fromWCharArray(buffer, int(length)) : QString();
}

} // namespace

VolumeControl findVolumeControl(const QStringList&)
{
    const QString classic = systemFolder(GetWindowsDirectoryW) + QStringLiteral("\\sndvol32.exe");
    if (QFileInfo(classic).size() > 0)
        return {classic, {}};
    const QString current = systemFolder(GetSystemDirectoryW) + QStringLiteral("\\sndvol.exe");
    if (QFileInfo(current).size() > 0)
        return {current, {}};
    return {};
}

void startVolumeControl(const VolumeControl& control)
{
    QProcess::startDetached(control.program, control.arguments);
}
