#include "sound_server/pulse_connection.h"
#include "sound_server/sound_outputs.h"

#include <pulse/introspect.h>
#include <pulse/subscribe.h>

namespace {

// What differs between listing the sinks and listing the sources.
struct SinkList {
    using Info = pa_sink_info;
    static constexpr auto list = pa_context_get_sink_info_list;
    static constexpr auto mask = PA_SUBSCRIPTION_MASK_SINK;
};
struct SourceList {
    using Info = pa_source_info;
    static constexpr auto list = pa_context_get_source_info_list;
    static constexpr auto mask = PA_SUBSCRIPTION_MASK_SOURCE;
};

// The sinks (or sources), listed again whenever one comes, goes or changes, or the
// server changes; the user-interface thread keeps the last list it was told.
template <typename Kind>
class PulseSoundDevices : public SoundOutputs {
public:
    PulseSoundDevices()
    {
        PulseConnection::Lock lock(m_connection);
        if (m_connection.connect().isEmpty()
            && !m_connection.finish(Kind::list(m_connection.context(), listed, this)))
            m_listedProblem = cannotList(m_connection.problem());
        m_outputs = m_listed;
        m_problem = m_listedProblem;
    }

    std::vector<SoundOutput> outputs() const override { return m_outputs; }
    QString problem() const override { return m_problem; }

private:
    static QString cannotList(const QString& reason)
    {
        return QStringLiteral("The sound server cannot be reached: ") + reason;
    }

    void ready(pa_context* context)
    {
        pa_context_set_subscribe_callback(
            context,
            [](pa_context* context, pa_subscription_event_type_t, uint32_t, void* self) {
                letRun(Kind::list(context, listed, self));
            },
            this);
        const auto events = pa_subscription_mask_t(Kind::mask | PA_SUBSCRIPTION_MASK_SERVER);
        letRun(pa_context_subscribe(context, events, nullptr, nullptr));
        letRun(Kind::list(context, listed, this));
    }

    void lost(const QString& reason)
    {
        m_listing.clear();
        m_listed.clear();
        m_listedProblem = cannotList(reason);
        tell();
    }

    static void listed(pa_context*, const typename Kind::Info* device, int end, void* self)
    {
        auto* outputs = static_cast<PulseSoundDevices*>(self);
        if (device) {
            outputs->m_listing.push_back({ QString::fromUtf8(device->name), QString::fromUtf8(device->description),
                                           int(device->sample_spec.rate) });
            return;
        }
        if (end < 0) { // the list was refused; the last one stands
            outputs->m_listing.clear();
            return;
        }
        outputs->m_listed = std::exchange(outputs->m_listing, {});
        outputs->m_listedProblem.clear();
        outputs->tell();
    }

    // From libpulse's thread, locked: hands the latest list to the user-interface thread.
    void tell()
    {
        QMetaObject::invokeMethod(
            this,
            [this, outputs = m_listed, problem = m_listedProblem] {
                if (outputs == m_outputs && problem == m_problem)
                    return;
                m_outputs = outputs;
                m_problem = problem;
                Q_EMIT changed();
            },
            Qt::QueuedConnection);
    }

    // The user-interface thread's.
    std::vector<SoundOutput> m_outputs;
    QString m_problem;
    // libpulse's thread's, under the connection's lock.
    std::vector<SoundOutput> m_listing; // the list being received
    std::vector<SoundOutput> m_listed;
    QString m_listedProblem;
    // Last, so that it stops before what its callbacks use goes.
    PulseConnection m_connection { [this](pa_context* context) { ready(context); },
                                   [this](const QString& reason) { lost(reason); } };
};

} // namespace

std::unique_ptr<SoundOutputs> makeSoundOutputs()
{
    return std::make_unique<PulseSoundDevices<SinkList>>();
}

std::unique_ptr<SoundOutputs> makeSoundInputs()
{
    return std::make_unique<PulseSoundDevices<SourceList>>();
}
