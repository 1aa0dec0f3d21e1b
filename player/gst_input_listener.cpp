#include "player/input_listener.h"

#include "common/failure.h"
#include "player/gst_error_text.h"
#include "player/gst_pipeline.h"

#include <gst/app/gstappsink.h>

namespace {

constexpr const char* kDescription =
    "pulsesrc name=input ! audioconvert ! audioresample ! "
    "audio/x-raw,format=F32LE,rate=44100,channels=2,layout=interleaved ! appsink name=heard sync=false";

class GstInputListener : public InputListener {
public:
    ~GstInputListener() override { stop(); }

    void start(const QString& input, Take take, Failed failed) override
    {
        stop();
        initGStreamer();
        m_take = std::move(take);
        m_failed = std::move(failed);
        GError* error = nullptr;
        GstElementHandle element = ownNewElement(gst_parse_launch(kDescription, &error));
        const GErrorHandle ownedError(error);
        if (!element || error)
            throw Failure(QString::fromUtf8(error ? error->message : "No sound server to listen through"));
        const GstElementHandle source(gst_bin_get_by_name(GST_BIN(element.get()), "input"));
        // The name is the sound server's: a property's value, never part of a description.
        g_object_set(source.get(), "device", input.toUtf8().constData(), nullptr);
        // Pieces of 50 ms wake the listener a fifth as often as the default's.
        g_object_set(source.get(), "latency-time", gint64(50000), "buffer-time", gint64(1000000), nullptr);
        const GstElementHandle sink(gst_bin_get_by_name(GST_BIN(element.get()), "heard"));
        GstAppSinkCallbacks callbacks{};
        callbacks.new_sample = &GstInputListener::onSample;
        gst_app_sink_set_callbacks(GST_APP_SINK(sink.get()), &callbacks, this, nullptr);
        m_pipeline = std::make_unique<Pipeline>(std::move(element), [this](GstMessage* message) {
            if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR && m_failed) {
                m_failed(gstErrorText(message));
                m_failed = nullptr; // once
            }
            return false;
        });
        // An input that cannot be opened says why on the bus, as one lost later does.
        if (gst_element_set_state(m_pipeline->element(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE && m_failed) {
            m_failed(QStringLiteral("The input cannot be listened on."));
            m_failed = nullptr;
        }
    }

    void stop() override { m_pipeline.reset(); }

private:
    static GstFlowReturn onSample(GstAppSink* sink, gpointer self)
    {
        const GstSampleHandle sample(gst_app_sink_pull_sample(sink));
        if (!sample)
            return GST_FLOW_OK;
        GstBuffer* buffer = gst_sample_get_buffer(sample.get());
        GstMapInfo map;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            static_cast<GstInputListener*>(self)->m_take(reinterpret_cast<const float*>(map.data),
                                                         qint64(map.size / (2 * sizeof(float))));
            gst_buffer_unmap(buffer, &map);
        }
        return GST_FLOW_OK;
    }

    Take m_take;
    Failed m_failed;
    std::unique_ptr<Pipeline> m_pipeline;
};

} // namespace

std::unique_ptr<InputListener> makeInputListener()
{
    return std::make_unique<GstInputListener>();
}
