#pragma once

#include "recording/keep_awake.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

// Asks the desktop portal on the session bus to inhibit suspend and idle, and
// logind on the system bus to block sleep and idle when there is no portal. The
// answers come on this thread's event loop: a bus that is slow to answer holds
// nothing up.
class DBusKeepAwake : public QObject, public KeepAwake {
    Q_OBJECT
public:
    DBusKeepAwake(const QDBusConnection& sessionBus, const QDBusConnection& systemBus, QObject* parent = nullptr);
    ~DBusKeepAwake() override;

    void hold() override;
    void release() override;

private:
    void askPortal(quint64 asking);
    void askLogind(quint64 asking);
    void closePortalRequest(const QString& path);

    QDBusConnection m_sessionBus;
    QDBusConnection m_systemBus;
    bool m_wanted = false;
    // Counts holds and releases: an answer to an earlier one is let go as it comes.
    quint64 m_asking = 0;
    QString m_portalRequest;            // the portal's handle of what it holds
    QDBusUnixFileDescriptor m_logindLock; // logind holds while this is open
};
