#pragma once

#include "disc_lookup/looked_up_disc.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>

class QNetworkReply;

// Asks MusicBrainz's web service what a disc holds, by its disc ID. Questions are
// asked one at a time and at least a second apart, as the service asks of its users;
// each is answered by found or failed, with a message fit to show as it is.
class DiscLookup : public QObject {
    Q_OBJECT
public:
    explicit DiscLookup(QObject* parent = nullptr);

    // The service's address, "https://musicbrainz.org" unless set.
    void setBaseAddress(const QString& address) { m_base = address; }
    // How long an answer may take before the question is given up.
    void setTimeout(int milliseconds) { m_timeout = milliseconds; }
    // What the questions are spaced by: milliseconds from any fixed moment, a steady
    // clock's unless set.
    void setClock(std::function<qint64()> milliseconds) { m_clock = std::move(milliseconds); }
    // Asks about the disc, after the questions asked before it.
    void lookUp(const QString& discId, int trackCount);

Q_SIGNALS:
    void found(const QString& discId, const LookedUpDisc& disc);
    void failed(const QString& discId, const QString& message);

private:
    struct Question {
        QString discId;
        int trackCount = 0;
    };
    void askNext();
    void finish();

    QNetworkAccessManager m_network;
    QString m_base;
    int m_timeout = 10000;
    QList<Question> m_queue;
    QPointer<QNetworkReply> m_reply; // of m_queue.first(), while it is asked
    bool m_timedOut = false;
    std::function<qint64()> m_clock;
    std::optional<qint64> m_lastAsked;
    QTimer m_wait { this }; // until a second has passed since the last question
    QTimer m_giveUp;
};
