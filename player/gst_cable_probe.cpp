#include "player/cable_probe.h"

#include "common/failure.h"
#include "player/gst_error_text.h"
#include "player/gst_pipeline.h"

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/base/gstbasesink.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

constexpr const char* kMonoCaps = "audio/x-raw,format=F32LE,rate=44100,channels=1,layout=interleaved";
// The output follows the input's clock a little at every piece it is handed: small
// pieces bring it in step before the first tone.
constexpr qint64 kPieceFrames = 256;

GstElementHandle makeProbePipeline(const QString& output, const QString& input)
{
    initGStreamer();
    const QString description =
        QStringLiteral("appsrc name=sound format=time caps=%1 ! audioconvert ! audioresample ! pulsesink name=output "
                       "pulsesrc name=input ! audioconvert ! audioresample ! %1 ! appsink name=heard sync=false")
            .arg(QLatin1String(kMonoCaps));
    GError* error = nullptr;
    GstElementHandle pipeline = ownNewElement(gst_parse_launch(description.toUtf8().constData(), &error));
    const GErrorHandle ownedError(error);
    if (!pipeline || error)
        throw Failure(QString::fromUtf8(error ? error->message : "No sound server to play and listen through"));
    // The names are the sound server's: property values, never part of a description.
    const GstElementHandle sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "output"));
    if (!output.isEmpty())
        g_object_set(sink.get(), "device", output.toUtf8().constData(), nullptr);
    const GstElementHandle source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "input"));
    g_object_set(source.get(), "device", input.toUtf8().constData(), nullptr);
    return pipeline;
}

// Feeds the output: silence until the sound is due, then the sound, then its end.
class Feed {
public:
    Feed(GstElement* pipeline, const std::vector<float>& sound)
        : m_source(gst_bin_get_by_name(GST_BIN(pipeline), "sound"))
        , m_sound(sound)
    {
    }

    bool soundDue() const { return m_soundStart >= 0; }
    // The sound starts where the feed has come to, and not before notBefore.
    GstClockTime startSound(GstClockTime notBefore)
    {
        m_fed = std::max(m_fed, qint64(gst_util_uint64_scale_ceil(notBefore, CableProbe::kRate, GST_SECOND)));
        m_soundStart = m_fed;
        return framesToTime(m_soundStart);
    }
    // Keeps the output fed until a little past aheadOf.
    void feed(GstClockTime aheadOf)
    {
        while (!m_ended && framesToTime(m_fed) < aheadOf + kFeedAhead) {
            qint64 frames = kPieceFrames;
            const float* samples = nullptr;
            if (soundDue()) {
                const qint64 into = m_fed - m_soundStart;
                frames = std::min<qint64>(kPieceFrames, qint64(m_sound.size()) - into);
                if (frames <= 0) {
                    gst_app_src_end_of_stream(GST_APP_SRC(m_source.get()));
                    m_ended = true;
                    return;
                }
                samples = m_sound.data() + into;
            }
            GstBuffer* buffer = gst_buffer_new_allocate(nullptr, size_t(frames) * sizeof(float), nullptr);
            if (samples)
                gst_buffer_fill(buffer, 0, samples, size_t(frames) * sizeof(float));
            else
                gst_buffer_memset(buffer, 0, 0, size_t(frames) * sizeof(float));
            GST_BUFFER_PTS(buffer) = framesToTime(m_fed);
            GST_BUFFER_DURATION(buffer) = framesToTime(m_fed + frames) - framesToTime(m_fed);
            gst_app_src_push_buffer(GST_APP_SRC(m_source.get()), buffer); // takes it
            m_fed += frames;
        }
    }

    void feedAll() { feed(GST_CLOCK_TIME_NONE - kFeedAhead); }

private:
    static constexpr GstClockTime kFeedAhead = 300 * GST_MSECOND;

    static GstClockTime framesToTime(qint64 frames)
    {
        return gst_util_uint64_scale(guint64(frames), GST_SECOND, CableProbe::kRate);
    }

    GstElementHandle m_source;
    const std::vector<float>& m_sound;
    qint64 m_fed = 0;
    qint64 m_soundStart = -1;
    bool m_ended = false;
};

void throwOnError(GstElement* pipeline)
{
    const GstBusHandle bus(gst_element_get_bus(pipeline));
    if (const GstMessageHandle message{gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR)})
        throw Failure(gstErrorText(message.get()));
}

bool playing(GstElement* element)
{
    GstState state = GST_STATE_NULL;
    return gst_element_get_state(element, &state, nullptr, 0) == GST_STATE_CHANGE_SUCCESS && state == GST_STATE_PLAYING;
}

GstClockTime runningTime(GstElement* pipeline)
{
    const GstClockHandle clock(gst_element_get_clock(pipeline));
    if (!clock)
        return 0;
    const GstClockTime now = gst_clock_get_time(clock.get());
    const GstClockTime base = gst_element_get_base_time(pipeline);
    return now > base ? now - base : 0;
}

class GstCableProbe : public CableProbe {
public:
    Heard probe(const QString& output, const QString& input, const std::vector<float>& sound,
                double listenAfterSeconds, const std::atomic<bool>& cancel) override
    {
        GstElementHandle pipeline = makeProbePipeline(output, input);
        struct Stop {
            GstElement* pipeline;
            ~Stop() { gst_element_set_state(pipeline, GST_STATE_NULL); }
        } stop{pipeline.get()};
        const GstElementHandle heard(gst_bin_get_by_name(GST_BIN(pipeline.get()), "heard"));
        const GstElementHandle sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "output"));
        // A sink that starts late catches up at once, in the silence before the sound, and
        // keeps in step with the input's clock to the millisecond, not the default 40 ms
        // that would be all of a round trip's error.
        g_object_set(sink.get(), "discont-wait", guint64(0), "drift-tolerance", gint64(1000), nullptr);
        Feed feed(pipeline.get(), sound);
        feed.feed(0);
        if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
            throwOnError(pipeline.get());
            throw Failure(QStringLiteral("The sound server cannot play to the output and listen on the input."));
        }
        const GstClockTime soundLength = gst_util_uint64_scale(sound.size(), GST_SECOND, kRate);
        const GstClockTime listenAfter = GstClockTime(std::max(0.0, listenAfterSeconds) * GST_SECOND);

        Heard result;
        std::optional<GstClockTime> first;
        GstClockTime steadySince = GST_CLOCK_TIME_NONE;
        GstClockTime soundStart = 0;
        GstClockTime waited = 0;
        while (!cancel) {
            throwOnError(pipeline.get());
            const GstSampleHandle sample(gst_app_sink_try_pull_sample(GST_APP_SINK(heard.get()), kPull));
            if (!sample) {
                waited += kPull;
                if (waited > kStartTimeout || gst_app_sink_is_eos(GST_APP_SINK(heard.get())))
                    throw Failure(first ? QStringLiteral("The input stopped giving sound.")
                                        : QStringLiteral("The input gives no sound."));
                continue;
            }
            waited = 0;
            GstBuffer* buffer = gst_sample_get_buffer(sample.get());
            const GstClockTime at = GST_BUFFER_PTS(buffer);
            if (!GST_CLOCK_TIME_IS_VALID(at))
                continue;
            if (!first)
                first = at;
            // Placed by its time, so that a piece the input lost leaves silence, not a shift.
            const qint64 index = qint64(gst_util_uint64_scale_round(at - std::min(at, *first), kRate, GST_SECOND));
            GstMapInfo map;
            gst_buffer_map(buffer, &map, GST_MAP_READ);
            const qint64 frames = qint64(map.size / sizeof(float));
            if (at - std::min(at, *first) > kStartTimeout + soundLength + listenAfter + kStartTimeout) {
                gst_buffer_unmap(buffer, &map);
                throw Failure(QStringLiteral("The input's sound is not stamped in time."));
            }
            if (result.samples.size() < size_t(index + frames))
                result.samples.resize(size_t(index + frames));
            std::memcpy(result.samples.data() + index, map.data, map.size);
            gst_buffer_unmap(buffer, &map);
            const GstClockTime heardTo = at + gst_util_uint64_scale(frames, GST_SECOND, kRate);
            // What is fed and when the sound starts go by the clock the output plays by.
            const GstClockTime now = runningTime(pipeline.get());
            if (!feed.soundDue()) {
                // A sound server just started hands the input's first samples over late, and
                // stamps them right only after a while: the sound waits until the output
                // plays and the input has kept up with the clock for a while.
                if (steadySince == GST_CLOCK_TIME_NONE && playing(sink.get()) && now < heardTo + kKeptUp)
                    steadySince = now;
                else if (now >= heardTo + kKeptUp)
                    steadySince = GST_CLOCK_TIME_NONE;
                if (steadySince != GST_CLOCK_TIME_NONE && now >= steadySince + kSettle)
                    soundStart = feed.startSound(now + kFeedLead);
                else if (now > kStartTimeout)
                    throw Failure(QStringLiteral("The output does not play, or the input does not keep up."));
            }
            // Once due, the sound is handed over whole: a probe stalled on a busy machine
            // then cannot leave the output without it.
            if (feed.soundDue())
                feed.feedAll();
            else
                feed.feed(now);
            if (!feed.soundDue())
                continue;
            // A sample sent at time t is heard at t plus the latency the pipeline gave its sink.
            const GstClockTime heardAt = soundStart + gst_base_sink_get_latency(GST_BASE_SINK(sink.get()));
            result.sentAt = qint64(gst_util_uint64_scale_round(heardAt, kRate, GST_SECOND))
                - qint64(gst_util_uint64_scale_round(*first, kRate, GST_SECOND));
            if (heardTo >= heardAt + soundLength + listenAfter)
                return result;
            if (now > heardAt + soundLength + listenAfter + kStartTimeout)
                throw Failure(QStringLiteral("The input falls behind the output."));
        }
        return {};
    }

private:
    static constexpr GstClockTime kPull = 100 * GST_MSECOND;
    static constexpr GstClockTime kStartTimeout = 5 * GST_SECOND;
    static constexpr GstClockTime kSettle = 500 * GST_MSECOND;
    static constexpr GstClockTime kKeptUp = 40 * GST_MSECOND;
    static constexpr GstClockTime kFeedLead = 100 * GST_MSECOND;
};

} // namespace

std::unique_ptr<CableProbe> makeCableProbe()
{
    return std::make_unique<GstCableProbe>();
}
