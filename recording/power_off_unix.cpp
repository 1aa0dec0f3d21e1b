#include "recording/power_off.h"

#include "recording/logind_power_off.h"

#include <QDBusConnection>
#include <QDBusMessage>

bool logindPowerOff(const QDBusConnection& bus)
{
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    request << true; // interactive: logind may ask the user to authorise
    // Waiting for the answer keeps the request alive while an authorisation is asked.
    const QDBusMessage reply = QDBusConnection(bus).call(request);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    qWarning("Power off refused: %s", qUtf8Printable(reply.errorMessage()));
    return false;
}

void requestPowerOff()
{
    logindPowerOff(QDBusConnection::systemBus());
}
