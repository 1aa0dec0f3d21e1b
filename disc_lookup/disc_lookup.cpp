#include "disc_lookup/disc_lookup.h"

#include "common/addresses.h"
#include "common/failure.h"
#include "common/version.h"
#include "disc_lookup/disc_answer.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <chrono>

namespace {

constexpr qint64 kSpacing = 1000; // the service's limit: one question a second

QByteArray userAgent()
{
    return QStringLiteral("Trelvik/%1.%2.%3 ( %4 )")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision)
        .arg(QLatin1String(kHomePageAddress))
        .toUtf8();
}

} // namespace

DiscLookup::DiscLookup(QObject* parent)
    : QObject(parent)
    , m_base(QString::fromLatin1(kMusicBrainzAddress))
{
    m_clock = [] {
        using namespace std::chrono;
        return qint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
    m_wait.setObjectName(QStringLiteral("questionSpacing"));
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, &DiscLookup::askNext);
    m_giveUp.setSingleShot(true);
    connect(&m_giveUp, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        if (m_reply)
            m_reply->abort(); // finishes it
    });
}

void DiscLookup::lookUp(const QString& discId, int trackCount)
{
    m_queue.append({ discId, trackCount });
    if (m_queue.size() == 1)
        askNext();
}

void DiscLookup::askNext()
{
    if (m_queue.isEmpty() || m_reply)
        return;
    if (const qint64 since = m_lastAsked ? m_clock() - *m_lastAsked : kSpacing; since < kSpacing) {
        m_wait.start(int(kSpacing - since));
        return;
    }
    QUrl url(m_base + QStringLiteral("/ws/2/discid/") + m_queue.first().discId);
    url.setQuery(QStringLiteral("inc=recordings+artist-credits&cdstubs=no&fmt=json"));
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setRawHeader("Accept", "application/json");
    m_lastAsked = m_clock();
    m_timedOut = false;
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::finished, this, &DiscLookup::finish);
    m_giveUp.start(m_timeout);
}

void DiscLookup::finish()
{
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    m_giveUp.stop();
    reply->deleteLater();
    const Question question = m_queue.takeFirst();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString host = QUrl(m_base).host();
    const QString cannot = QStringLiteral("CD titles not looked up: ");
    if (m_timedOut) {
        Q_EMIT failed(question.discId, cannot + host + QStringLiteral(" did not answer within %1 s.")
                                                           .arg(double(m_timeout) / 1000));
    } else if (status == 404) {
        Q_EMIT failed(question.discId, cannot + host + QStringLiteral(" does not know the disc."));
    } else if (status == 0) {
        // No answer at all: offline, no such host, nothing listening.
        Q_EMIT failed(question.discId, cannot + host + QStringLiteral(" cannot be reached (") + reply->errorString()
                                           + QStringLiteral(")."));
    } else if (status != 200 || reply->error() != QNetworkReply::NoError) {
        Q_EMIT failed(question.discId, cannot + host + QStringLiteral(" answered with HTTP status %1.").arg(status));
    } else {
        try {
            const LookedUpDisc disc = discOfAnswer(reply->readAll(), question.discId, question.trackCount);
            Q_EMIT found(question.discId, disc);
        } catch (const Failure& failure) {
            Q_EMIT failed(question.discId, cannot + host + QStringLiteral(" gave a broken answer: ")
                                               + failure.description() + QStringLiteral("."));
        }
    }
    askNext();
}
