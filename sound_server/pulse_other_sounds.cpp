#include "sound_server/muted_streams.h"
#include "sound_server/other_sounds.h"
#include "sound_server/pulse_connection.h"

#include <QFile>
#include <algorithm>
#include <pulse/introspect.h>
#include <pulse/subscribe.h>
#include <unistd.h>

namespace {

MutedStream identify(const pa_sink_input_info& stream)
{
    const char* processId = pa_proplist_gets(stream.proplist, PA_PROP_APPLICATION_PROCESS_ID);
    const char* application = pa_proplist_gets(stream.proplist, PA_PROP_APPLICATION_NAME);
    // Simplified, as the list keeps a stream on a line of its own, its parts between tabs.
    return { stream.index, QString::fromUtf8(processId).simplified(), QString::fromUtf8(application).simplified() };
}

// While an output is kept quiet, every stream of another program on it that is not
// muted already is muted: those there at the start and those that start on it, or
// are moved to it, later. Our own streams tell our process id.
class PulseOtherSounds : public OtherSounds {
public:
    explicit PulseOtherSounds(const QString& listPath)
        : m_listPath(listPath)
    {
        // A list left behind by a program that ended during a recording.
        if (QFile::exists(listPath)) {
            m_muted = readMutedStreams(listPath);
            restore();
        }
    }

    ~PulseOtherSounds() override { restore(); }

    QString keepOff(const QString& outputName) override
    {
        PulseConnection::Lock lock(m_connection);
        QString problem = m_connection.connect();
        if (problem.isEmpty()) {
            problem = findOutput(outputName);
            if (problem.isEmpty() && !m_connection.finish(pa_context_get_sink_input_info_list(
                                         m_connection.context(), muteIfOther, this)))
                problem = m_connection.problem();
            m_connection.drain();
        }
        return problem.isEmpty() ? problem : QStringLiteral("Other sounds cannot be kept off the recording: ") + problem;
    }

    void restore() override
    {
        PulseConnection::Lock lock(m_connection);
        m_target = PA_INVALID_INDEX;
        if (!m_muted.empty() && m_connection.connect().isEmpty()) {
            m_connection.finish(pa_context_get_sink_input_info_list(m_connection.context(), unmuteIfMutedHere, this));
            m_connection.drain();
        }
        m_muted.clear();
        QFile::remove(m_listPath);
    }

private:
    // Locked: makes the output by that name (empty: the server's default) the one kept quiet.
    QString findOutput(const QString& outputName)
    {
        m_target = PA_INVALID_INDEX;
        const QByteArray name = outputName.isEmpty() ? QByteArrayLiteral("@DEFAULT_SINK@") : outputName.toUtf8();
        uint32_t found = PA_INVALID_INDEX;
        const auto sinkFound = [](pa_context*, const pa_sink_info* sink, int, void* found) {
            if (sink)
                *static_cast<uint32_t*>(found) = sink->index;
        };
        if (!m_connection.finish(pa_context_get_sink_info_by_name(m_connection.context(), name, sinkFound, &found)))
            return m_connection.problem();
        if (found == PA_INVALID_INDEX)
            return outputName.isEmpty() ? QStringLiteral("The sound server has no output")
                                        : QStringLiteral("There is no output named ") + outputName;
        m_target = found;
        return {};
    }

    void ready(pa_context* context)
    {
        pa_context_set_subscribe_callback(
            context,
            [](pa_context* context, pa_subscription_event_type_t event, uint32_t index, void* self) {
                const bool removed = (event & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_REMOVE;
                if (!removed && static_cast<PulseOtherSounds*>(self)->m_target != PA_INVALID_INDEX)
                    letRun(pa_context_get_sink_input_info(context, index, muteIfOther, self));
            },
            this);
        letRun(pa_context_subscribe(context, PA_SUBSCRIPTION_MASK_SINK_INPUT, nullptr, nullptr));
    }

    bool isMuted(uint32_t index) const
    {
        return std::any_of(m_muted.begin(), m_muted.end(), [index](const MutedStream& s) { return s.index == index; });
    }

    static void muteIfOther(pa_context* context, const pa_sink_input_info* stream, int, void* self)
    {
        auto* sounds = static_cast<PulseOtherSounds*>(self);
        if (!stream || stream->sink != sounds->m_target || stream->mute || sounds->isMuted(stream->index))
            return;
        const MutedStream muted = identify(*stream);
        if (muted.processId == sounds->m_ownProcessId)
            return;
        sounds->m_muted.push_back(muted);
        writeMutedStreams(sounds->m_listPath, sounds->m_muted);
        letRun(pa_context_set_sink_input_mute(context, stream->index, 1, nullptr, nullptr));
    }

    // Only a stream that is still the one muted: its number may have gone to another since.
    static void unmuteIfMutedHere(pa_context* context, const pa_sink_input_info* stream, int, void* self)
    {
        const auto& muted = static_cast<PulseOtherSounds*>(self)->m_muted;
        if (stream && std::find(muted.begin(), muted.end(), identify(*stream)) != muted.end())
            letRun(pa_context_set_sink_input_mute(context, stream->index, 0, nullptr, nullptr));
    }

    const QString m_listPath;
    const QString m_ownProcessId = QString::number(getpid());
    // Shared with libpulse's thread, under the connection's lock.
    uint32_t m_target = PA_INVALID_INDEX; // the output kept quiet
    std::vector<MutedStream> m_muted;
    // Last, so that it stops before what its callbacks use goes. A server that went
    // away took its streams along: nothing is kept quiet until asked again.
    PulseConnection m_connection { [this](pa_context* context) { ready(context); },
                                   [this](const QString&) { m_target = PA_INVALID_INDEX; } };
};

} // namespace

std::unique_ptr<OtherSounds> makeOtherSounds(const QString& listPath)
{
    return std::make_unique<PulseOtherSounds>(listPath);
}
