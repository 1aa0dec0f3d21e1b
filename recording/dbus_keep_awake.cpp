#include "recording/dbus_keep_awake.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <utility>

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kReason = QStringLiteral("Recording a playlist");
// The portal's flags for suspend and for idle.
constexpr uint kSuspendAndIdle = 4 | 8;
// A bus that does not answer in this time has refused.
constexpr int kAnswerMs = 10000;

template<typename Answered>
void whenAnswered(QObject* owner, QDBusConnection& bus, const QDBusMessage& call, Answered answered)
{
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerMs), owner);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner, [watcher, answered] {
        watcher->deleteLater();
        answered(*watcher);
    });
}

} // namespace

DBusKeepAwake::DBusKeepAwake(const QDBusConnection& sessionBus, const QDBusConnection& systemBus, QObject* parent)
    : QObject(parent)
    , m_sessionBus(sessionBus)
    , m_systemBus(systemBus)
{
}

DBusKeepAwake::~DBusKeepAwake()
{
    release();
}

void DBusKeepAwake::hold()
{
    if (std::exchange(m_wanted, true))
        return;
    askPortal(++m_asking);
}

void DBusKeepAwake::release()
{
    if (!std::exchange(m_wanted, false))
        return;
    ++m_asking;
    if (!m_portalRequest.isEmpty())
        closePortalRequest(std::exchange(m_portalRequest, {}));
    m_logindLock = QDBusUnixFileDescriptor();
}

void DBusKeepAwake::askPortal(quint64 asking)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kPortal, QStringLiteral("/org/freedesktop/portal/desktop"),
                                                       QStringLiteral("org.freedesktop.portal.Inhibit"),
                                                       QStringLiteral("Inhibit"));
    call << QString() << kSuspendAndIdle << QVariantMap{{QStringLiteral("reason"), kReason}};
    whenAnswered(this, m_sessionBus, call, [this, asking](const QDBusPendingCall& answer) {
        const QDBusPendingReply<QDBusObjectPath> reply = answer;
        if (reply.isError()) {
            if (asking == m_asking)
                askLogind(asking);
            return;
        }
        if (asking == m_asking)
            m_portalRequest = reply.value().path();
        else
            closePortalRequest(reply.value().path());
    });
}

void DBusKeepAwake::askLogind(quint64 asking)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QStringLiteral("Trelvik") << kReason << QStringLiteral("block");
    whenAnswered(this, m_systemBus, call, [this, asking](const QDBusPendingCall& answer) {
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = answer;
        if (reply.isError())
            qWarning("The computer may sleep during the run: %s", qUtf8Printable(reply.error().message()));
        else if (asking == m_asking)
            m_logindLock = reply.value();
        // An answer that comes after the release closes its lock as it goes.
    });
}

void DBusKeepAwake::closePortalRequest(const QString& path)
{
    m_sessionBus.send(QDBusMessage::createMethodCall(kPortal, path, QStringLiteral("org.freedesktop.portal.Request"),
                                                     QStringLiteral("Close")));
}

std::unique_ptr<KeepAwake> makeKeepAwake()
{
    return std::make_unique<DBusKeepAwake>(QDBusConnection::sessionBus(), QDBusConnection::systemBus());
}
