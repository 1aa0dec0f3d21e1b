#include "help_windows/web_text_fetch.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

WebTextFetch::WebTextFetch(std::chrono::milliseconds timeLimit, QObject* parent)
    : QObject(parent)
{
    m_timeLimit.setSingleShot(true);
    m_timeLimit.setInterval(timeLimit);
    connect(&m_timeLimit, &QTimer::timeout, this, &WebTextFetch::cancel);
}

void WebTextFetch::openUrl(const QString& address)
{
    cancel();
    m_received.clear();
    m_full = false;
    QNetworkReply* reply = m_network.get(QNetworkRequest(QUrl(address)));
    m_reply = reply;
    connect(reply, &QNetworkReply::readyRead, this, &WebTextFetch::readAvailable);
    connect(reply, &QNetworkReply::finished, this, &WebTextFetch::finish);
    m_timeLimit.start();
}

QString WebTextFetch::text() const
{
    return m_reply ? QString() : QString::fromUtf8(m_received);
}

void WebTextFetch::cancel()
{
    if (!m_reply)
        return;
    m_reply->abort(); // forgets what arrived
    finish();         // in case the reply did not report its end at once
}

void WebTextFetch::readAvailable()
{
    if (!m_reply || m_full)
        return;
    m_received += m_reply->read(kMaxSize - m_received.size());
    if (m_received.size() >= kMaxSize) {
        m_full = true;
        m_reply->abort();
    }
}

void WebTextFetch::finish()
{
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    m_timeLimit.stop();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool succeeded = status >= 200 && status <= 299 && (m_full || reply->error() == QNetworkReply::NoError);
    if (!succeeded)
        m_received.clear();
    else if (!m_full)
        m_received += reply->read(kMaxSize - m_received.size());
    reply->deleteLater();
    Q_EMIT finished();
}
