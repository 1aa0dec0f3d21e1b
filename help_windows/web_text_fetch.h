#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>

// Fetches the content of a web address as text: openUrl starts the transfer,
// finished announces its end, text gives what arrived. Anything that goes
// wrong (no connection, no answer within the time limit, an HTTP error) gives an
// empty text, and no more than kMaxSize bytes are ever read.
class WebTextFetch : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxSize = 64 * 1024;

    explicit WebTextFetch(std::chrono::milliseconds timeLimit, QObject* parent = nullptr);

    // Starts fetching, giving up a transfer still running.
    void openUrl(const QString& address);
    // What the last transfer fetched; empty while it runs and after a failure.
    QString text() const;
    // Ends a running transfer as a failed one.
    void cancel();

Q_SIGNALS:
    // A transfer ended, whether it delivered, failed, ran out of time or was given up.
    void finished();

private:
    void readAvailable();
    void finish();

    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timeLimit;
    QByteArray m_received;
    bool m_full = false; // kMaxSize reached: the rest is not read
};
