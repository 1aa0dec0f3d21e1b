#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <optional>
#include <vector>

// Sinks and streams on the test's own sound server (see pulse_null_sink.h), made and
// read back with the server's command-line tools.

struct SinkInput {
    int index = 0;
    bool muted = false;
    QString volume; // of its first channel, as "50%"
};

inline QString pactl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The stream of the process with that id, once the server has it.
inline std::optional<SinkInput> streamOf(qint64 processId)
{
    std::optional<SinkInput> found;
    (void)QTest::qWaitFor([&] {
        for (const QJsonValue input : QJsonDocument::fromJson(pactl({"-f", "json", "list", "sink-inputs"}).toUtf8()).array()) {
            if (input["properties"]["application.process.id"].toString() == QString::number(processId))
                found = SinkInput { input["index"].toInt(), input["mute"].toBool(),
                                    input["volume"]["front-left"]["value_percent"].toString() };
        }
        return found.has_value();
    }, 5000);
    return found;
}

inline bool isMuted(qint64 processId) { const std::optional<SinkInput> stream = streamOf(processId); return stream && stream->muted; }

// Which of the processes' streams are muted, as a 1 or a 0 each in their order.
inline QString mutes(std::initializer_list<qint64> processIds)
{
    QString flags;
    for (const qint64 id : processIds)
        flags += isMuted(id) ? u'1' : u'0';
    return flags;
}

// For what the server does on its own time.
inline bool becomesMuted(qint64 processId) { return QTest::qWaitFor([&] { return isMuted(processId); }, 5000); }

// Another program playing silence into a sink until it is ended; options such as
// --client-name= or --property=media.role= tell the server who it is.
class OtherProgramSound {
public:
    explicit OtherProgramSound(const QString& sink, const QStringList& options = {})
    {
        m_process.setStandardInputFile(QStringLiteral("/dev/zero"));
        m_process.start(QStringLiteral("pacat"), QStringList { "--raw", "-d", sink } + options);
        m_process.waitForStarted(5000);
    }

    ~OtherProgramSound() { m_process.kill(); m_process.waitForFinished(5000); }

    qint64 processId() const { return m_process.processId(); }
    std::optional<SinkInput> stream() const { return streamOf(processId()); }
    // Muted as the user mutes it in a mixer; true once the server has it so.
    bool muteAsTheUser() const
    {
        const std::optional<SinkInput> own = stream();
        return own && (pactl({"set-sink-input-mute", QString::number(own->index), "1"}), becomesMuted(processId()));
    }

private:
    QProcess m_process;
};
