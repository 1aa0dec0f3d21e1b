#include "player/gst_output_stream.h"

#include "common/failure.h"
#include "player/gst_error_text.h"

#include <gst/app/gstappsrc.h>
#include <gst/audio/gstaudiobasesink.h>

const char* const GstOutputStream::kCaps = "audio/x-raw,format=F32LE,rate=44100,channels=2,layout=interleaved";

namespace {

// An audio sink writes to the sound server every 10 ms by default, and those
// wake-ups cost more CPU than all the rest of a run; 50 ms segments wake it a
// fifth as often. Where a sample is heard depends only on what was written
// before it, not on the segment size.
void configureAudioSink(GstElement* element)
{
    GObjectClass* type = G_OBJECT_GET_CLASS(element);
    if (g_object_class_find_property(type, "latency-time") && g_object_class_find_property(type, "buffer-time"))
        g_object_set(element, "latency-time", gint64(50000), "buffer-time",
                     gint64(GstOutputStream::kBufferMs) * 1000, nullptr);
}

// A sink that chooses its output makes the real one later.
void configureAddedSink(GstBin*, GstBin*, GstElement* element, gpointer)
{
    configureAudioSink(element);
}

GstElementHandle makePipeline(const QString& audioSink, const QString& outputName)
{
    initGStreamer();
    const QString sink = outputName.isEmpty() ? audioSink : QStringLiteral("pulsesink name=output");
    // A sink that takes the samples as they are gets them untouched; one that takes
    // fewer bits gets them rounded, neither dithered nor shaped.
    const QString description = QStringLiteral("appsrc name=source format=time caps=%1 ! "
                                               "audioconvert dithering=none noise-shaping=none ! audioresample ! %2")
                                    .arg(QLatin1String(GstOutputStream::kCaps), sink);
    GError* error = nullptr;
    GstElementHandle pipeline = ownNewElement(gst_parse_launch(description.toUtf8().constData(), &error));
    const GErrorHandle ownedError(error);
    if (!pipeline || error)
        throw Failure(QString::fromUtf8(error ? error->message : "No sound output") + QLatin1Char('\n') + sink);
    if (!outputName.isEmpty()) {
        // The name is the sound server's: a property's value, never part of a description.
        const GstElementHandle output(gst_bin_get_by_name(GST_BIN(pipeline.get()), "output"));
        g_object_set(output.get(), "device", outputName.toUtf8().constData(), nullptr);
        configureAudioSink(output.get());
    }
    g_signal_connect(pipeline.get(), "deep-element-added", G_CALLBACK(configureAddedSink), nullptr);
    return pipeline;
}

// Once connected, a pulsesink asks the sound server what its output takes: nothing
// when the server has no output of that name.
bool outputFound(GstElement* pipeline)
{
    const GstElementHandle output(gst_bin_get_by_name(GST_BIN(pipeline), "output"));
    const GstPadHandle pad(gst_element_get_static_pad(output.get(), "sink"));
    const GstCapsHandle caps(gst_pad_query_caps(pad.get(), nullptr));
    return caps && !gst_caps_is_empty(caps.get());
}

bool hasFactory(GstElement* element, const char* name)
{
    GstElementFactory* factory = gst_element_get_factory(element);
    return factory && g_strcmp0(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)), name) == 0;
}

// With no sound output that opens, autoaudiosink stands a fake sink in for one, and
// a run would play into nothing as if it were heard.
bool playsIntoNothing(GstElement* pipeline)
{
    GstIterator* sinks = gst_bin_iterate_all_by_element_factory_name(GST_BIN(pipeline), "fakesink");
    GValue item = G_VALUE_INIT;
    bool fake = false;
    while (!fake && gst_iterator_next(sinks, &item) == GST_ITERATOR_OK) {
        const GstElementHandle parent(GST_ELEMENT_CAST(gst_object_get_parent(GST_OBJECT(g_value_get_object(&item)))));
        fake = parent && hasFactory(parent.get(), "autoaudiosink");
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(sinks);
    return fake;
}

// How long the sound an acquired ring buffer holds lasts, in nanoseconds.
std::optional<qint64> ringDuration(const GstAudioRingBuffer& ring)
{
    const GstAudioRingBufferSpec& layout = ring.spec; // GStreamer's name for the ring's layout
    const gint bytesPerFrame = GST_AUDIO_INFO_BPF(&layout.info);
    const gint rate = GST_AUDIO_INFO_RATE(&layout.info);
    if (bytesPerFrame <= 0 || rate <= 0)
        return std::nullopt;
    const guint64 frames = guint64(layout.segsize) * guint64(layout.segtotal) / guint64(bytesPerFrame);
    return qint64(gst_util_uint64_scale(frames, GST_SECOND, guint64(rate)));
}

void pushNext(GstAppSrc* source, guint, gpointer self)
{
    // The source takes the buffer over.
    gst_app_src_push_buffer(source, (*static_cast<const GstOutputStream::Source*>(self))().release());
}

} // namespace

GstOutputStream::GstOutputStream(const QString& audioSink, const QString& outputName, Source source,
                                 ErrorHandler onError)
    : m_outputName(outputName)
    , m_source(std::move(source))
    , m_onError(std::move(onError))
    , m_pipeline(makePipeline(audioSink, outputName), [this](GstMessage* message) { return onBusMessage(message); })
{
    const GstElementHandle appSource(gst_bin_get_by_name(GST_BIN(m_pipeline.element()), "source"));
    GstAppSrcCallbacks callbacks {};
    callbacks.need_data = &pushNext;
    gst_app_src_set_callbacks(GST_APP_SRC(appSource.get()), &callbacks, &m_source, nullptr);
}

// Runs on whichever thread posts. Nothing waits on this bus; errors go to the handler.
bool GstOutputStream::onBusMessage(GstMessage* message)
{
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_WARNING) {
        // Why an output that was tried did not open: autoaudiosink says so on its way
        // to READY, which may be long before a start.
        GError* warning = nullptr;
        gst_message_parse_warning(message, &warning, nullptr);
        const GErrorHandle ownedWarning(warning);
        const std::lock_guard lock(m_errorLock);
        m_lastWarning = QString::fromUtf8(warning->message);
    } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        const QString error = gstErrorText(message);
        {
            const std::lock_guard lock(m_errorLock);
            m_lastError = error;
        }
        if (m_onError)
            m_onError(error);
    }
    return false;
}

void GstOutputStream::open()
{
    if (m_open)
        return;
    {
        const std::lock_guard lock(m_errorLock);
        m_lastError.clear();
    }
    // The sink chooses its output on the way to READY.
    if (gst_element_set_state(m_pipeline.element(), GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        // From NULL the sink looks for an output again: one may have come by the next start.
        if (playsIntoNothing(m_pipeline.element())) {
            gst_element_set_state(m_pipeline.element(), GST_STATE_NULL);
            const std::lock_guard lock(m_errorLock);
            throw Failure(QStringLiteral("There is no sound output to play through.")
                          + (m_lastWarning.isEmpty() ? QString() : QLatin1Char('\n') + m_lastWarning));
        }
        if (!m_outputName.isEmpty() && !outputFound(m_pipeline.element())) {
            gst_element_set_state(m_pipeline.element(), GST_STATE_NULL);
            throw Failure(QStringLiteral("The sound output was not found.\n") + m_outputName);
        }
    }
    if (gst_element_set_state(m_pipeline.element(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
        GstState state = GST_STATE_NULL;
        if (gst_element_get_state(m_pipeline.element(), &state, nullptr, kStartTimeoutMs * GST_MSECOND)
                == GST_STATE_CHANGE_SUCCESS
            && state == GST_STATE_PLAYING) {
            m_open = true;
            return;
        }
    }
    close();
    const std::lock_guard lock(m_errorLock);
    throw Failure(m_lastError.isEmpty() ? QStringLiteral("The sound output did not start.") : m_lastError);
}

void GstOutputStream::close()
{
    m_open = false;
    // The sound server is let go; the next start makes a stream anew.
    gst_element_set_state(m_pipeline.element(), GST_STATE_NULL);
}

qint64 GstOutputStream::now() const
{
    // While it starts, the stream's base time is still that of its last run.
    if (!m_open)
        return 0;
    const GstClockHandle clock(gst_element_get_clock(m_pipeline.element()));
    if (!clock)
        return 0;
    const GstClockTime time = gst_clock_get_time(clock.get());
    const GstClockTime base = gst_element_get_base_time(m_pipeline.element());
    return time > base ? qint64(time - base) : 0;
}

std::optional<qint64> GstOutputStream::startingFill() const
{
    GstIterator* sinks = gst_bin_iterate_recurse(GST_BIN(m_pipeline.element()));
    GValue item = G_VALUE_INIT;
    std::optional<qint64> fill = 0;
    while (gst_iterator_next(sinks, &item) == GST_ITERATOR_OK) {
        auto* element = GST_ELEMENT_CAST(g_value_get_object(&item));
        if (GST_IS_AUDIO_BASE_SINK(element)) {
            GstAudioRingBuffer* ring = GST_AUDIO_BASE_SINK(element)->ringbuffer;
            fill = ring && gst_audio_ring_buffer_is_acquired(ring) ? ringDuration(*ring) : std::nullopt;
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(sinks);
    return fill;
}
