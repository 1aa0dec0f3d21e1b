#include "sound_server/background_other_sounds.h"
#include "sound_server/muted_streams.h"
#include "sound_server/pulse_connection.h"
#include "sound_server/waiting_other_sounds.h"

#include <QFile>
#include <QLockFile>
#include <algorithm>
#include <atomic>
#include <map>
#include <optional>
#include <pulse/ext-stream-restore.h>
#include <pulse/introspect.h>
#include <pulse/subscribe.h>
#include <unistd.h>

namespace {

MutedStream identify(const pa_sink_input_info& stream)
{
    const char* processId = pa_proplist_gets(stream.proplist, PA_PROP_APPLICATION_PROCESS_ID);
    const char* application = pa_proplist_gets(stream.proplist, PA_PROP_APPLICATION_NAME);
    // Simplified, as the list keeps a stream on a line of its own, its parts between tabs.
    return { stream.index, QString::fromUtf8(processId).simplified(), QString::fromUtf8(application).simplified(), {} };
}

// While an output is kept quiet, every stream of another program on it that is not
// muted already is muted: those there at the start and those that start on it, or
// are moved to it, later. Our own streams tell our process id.
//
// The server saves a stream's mute for its program or role, and starts that
// program's or role's next streams with it. So a stream that starts muted by a
// setting that muting here muted is muted by our doing, and the saved settings'
// mutes are put back as they were when the streams are unmuted.
class PulseOtherSounds : public WaitingOtherSounds {
public:
    explicit PulseOtherSounds(const QString& listPath)
        : m_listPath(listPath)
        , m_listLock(listPath + QStringLiteral(".lock"))
    {
        // A run lasts far longer than any age at which a lock would count as stale:
        // only a lock whose process is gone is.
        m_listLock.setStaleLockTime(0);
        takeList();
    }

    ~PulseOtherSounds() override { restore(); }

    QString keepOff(const QString& outputName) override
    {
        takeList();
        PulseConnection::Lock lock(m_connection);
        QString problem = m_connection.connect();
        if (problem.isEmpty()) {
            problem = findOutput(outputName);
            if (problem.isEmpty())
                readSavedMutes();
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
            // Their unmuting is saved first, so what is put back stays.
            m_connection.drain();
            m_connection.finish(pa_ext_stream_restore_read(m_connection.context(), putSavedMuteBack, this));
            m_connection.drain();
        }
        m_muted.clear();
        if (m_ownsList)
            QFile::remove(m_listPath);
    }

private:
    // The list is ours unless another program running now keeps it: a list it keeps
    // is no leftover, and what it muted stays muted. A list left behind by a program
    // that ended during a recording is restored as it is taken.
    void takeList()
    {
        if (m_ownsList || !m_listLock.tryLock(0))
            return;
        m_ownsList = true;
        if (QFile::exists(m_listPath)) {
            m_muted = readMutedStreams(m_listPath);
            restore();
        }
    }

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

    // Locked: the saved settings' mutes before anything is muted; none when the server keeps none.
    void readSavedMutes()
    {
        m_savedMutes.emplace();
        const auto read = [](pa_context*, const pa_ext_stream_restore_info* setting, int end, void* self) {
            std::optional<std::map<QString, bool>>& saved = static_cast<PulseOtherSounds*>(self)->m_savedMutes;
            if (end < 0)
                saved.reset();
            else if (setting && saved)
                (*saved)[QString::fromUtf8(setting->name)] = setting->mute;
        };
        if (!m_connection.finish(pa_ext_stream_restore_read(m_connection.context(), read, this)))
            m_savedMutes.reset();
    }

    void ready(pa_context* context)
    {
        pa_context_set_subscribe_callback(
            context,
            [](pa_context* context, pa_subscription_event_type_t event, uint32_t index, void* self) {
                const auto type = event & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
                if (type != PA_SUBSCRIPTION_EVENT_REMOVE && static_cast<PulseOtherSounds*>(self)->m_target != PA_INVALID_INDEX)
                    letRun(pa_context_get_sink_input_info(
                        context, index, type == PA_SUBSCRIPTION_EVENT_NEW ? muteIfStartedOther : muteIfOther, self));
            },
            this);
        letRun(pa_context_subscribe(context, PA_SUBSCRIPTION_MASK_SINK_INPUT, nullptr, nullptr));
    }

    bool isMuted(uint32_t index) const
    {
        return std::any_of(m_muted.begin(), m_muted.end(), [index](const MutedStream& s) { return s.index == index; });
    }

    // A stream muted here that shares the saved setting by that name, so muting it muted the setting too.
    const MutedStream* mutedWithSetting(const QString& name) const
    {
        const auto found = std::find_if(m_muted.begin(), m_muted.end(), [&](const MutedStream& s) { return s.savedAs == name; });
        return name.isEmpty() || found == m_muted.end() ? nullptr : &*found;
    }

    static void muteIfOther(pa_context* context, const pa_sink_input_info* stream, int, void* self)
    {
        if (stream)
            static_cast<PulseOtherSounds*>(self)->keepStreamOff(context, *stream, false);
    }

    static void muteIfStartedOther(pa_context* context, const pa_sink_input_info* stream, int, void* self)
    {
        if (stream)
            static_cast<PulseOtherSounds*>(self)->keepStreamOff(context, *stream, true);
    }

    void keepStreamOff(pa_context* context, const pa_sink_input_info& stream, bool started)
    {
        if (isMuted(stream.index))
            return;
        MutedStream muted = identify(stream);
        if (muted.processId == m_ownProcessId)
            return;
        if (m_savedMutes) {
            muted.savedAs = QString::fromUtf8(pa_proplist_gets(stream.proplist, "module-stream-restore.id"));
            const auto saved = m_savedMutes->find(muted.savedAs);
            muted.savedMuted = saved != m_savedMutes->end() && saved->second;
        }
        const bool mutedByUs = started && stream.mute && !muted.savedMuted && mutedWithSetting(muted.savedAs);
        if (stream.sink != m_target) {
            // Another program of a muted role, on another output: it plays on.
            if (mutedByUs)
                letRun(pa_context_set_sink_input_mute(context, stream.index, 0, nullptr, nullptr));
            return;
        }
        if (stream.mute && !mutedByUs)
            return;
        m_muted.push_back(muted);
        if (m_ownsList)
            writeMutedStreams(m_listPath, m_muted);
        if (!stream.mute)
            letRun(pa_context_set_sink_input_mute(context, stream.index, 1, nullptr, nullptr));
    }

    // Only a stream that is still the one muted: its number may have gone to another since.
    static void unmuteIfMutedHere(pa_context* context, const pa_sink_input_info* stream, int, void* self)
    {
        if (!stream)
            return;
        const auto& muted = static_cast<PulseOtherSounds*>(self)->m_muted;
        const MutedStream found = identify(*stream);
        if (std::any_of(muted.begin(), muted.end(), [&](const MutedStream& s) {
                return s.index == found.index && s.processId == found.processId && s.application == found.application;
            }))
            letRun(pa_context_set_sink_input_mute(context, stream->index, 0, nullptr, nullptr));
    }

    // Only the mute: a volume or output the user chose meanwhile stays.
    static void putSavedMuteBack(pa_context* context, const pa_ext_stream_restore_info* setting, int, void* self)
    {
        if (!setting)
            return;
        const MutedStream* ours = static_cast<PulseOtherSounds*>(self)->mutedWithSetting(QString::fromUtf8(setting->name));
        if (!ours || bool(setting->mute) == ours->savedMuted)
            return;
        pa_ext_stream_restore_info before = *setting;
        before.mute = ours->savedMuted;
        letRun(pa_ext_stream_restore_write(context, PA_UPDATE_REPLACE, &before, 1, 0, nullptr, nullptr));
    }

    const QString m_listPath;
    QLockFile m_listLock;
    std::atomic<bool> m_ownsList { false }; // read on libpulse's thread
    const QString m_ownProcessId = QString::number(getpid());
    // Shared with libpulse's thread, under the connection's lock.
    uint32_t m_target = PA_INVALID_INDEX; // the output kept quiet
    std::vector<MutedStream> m_muted;
    std::optional<std::map<QString, bool>> m_savedMutes; // by the setting's name
    // Last, so that it stops before what its callbacks use goes. A server that went
    // away took its streams along: nothing is kept quiet until asked again.
    PulseConnection m_connection { [this](pa_context* context) { ready(context); },
                                   [this](const QString&) { m_target = PA_INVALID_INDEX; } };
};

} // namespace

std::unique_ptr<WaitingOtherSounds> makePulseOtherSounds(const QString& listPath)
{
    return std::make_unique<PulseOtherSounds>(listPath);
}

std::unique_ptr<OtherSounds> makeOtherSounds(const QString& listPath)
{
    return std::make_unique<BackgroundOtherSounds>([listPath] { return makePulseOtherSounds(listPath); });
}
