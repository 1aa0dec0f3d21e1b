#include "player/gst_pipeline.h"

#include <mutex>

void initGStreamer()
{
    static std::once_flag once;
    std::call_once(once, [] { gst_init(nullptr, nullptr); });
}

Pipeline::Pipeline(GstElementHandle element, MessageHandler onMessage)
    : m_onMessage(std::move(onMessage))
    , m_element(std::move(element))
    , m_bus(gst_element_get_bus(m_element.get()))
{
    gst_bus_set_sync_handler(m_bus.get(), &Pipeline::onBusMessage, this, nullptr);
}

Pipeline::~Pipeline()
{
    gst_element_set_state(m_element.get(), GST_STATE_NULL);
    gst_bus_set_sync_handler(m_bus.get(), nullptr, nullptr, nullptr);
}

GstBusSyncReply Pipeline::onBusMessage(GstBus*, GstMessage* message, gpointer self)
{
    if (static_cast<Pipeline*>(self)->m_onMessage(message))
        return GST_BUS_PASS;
    // A sync handler that drops a message owns it.
    const GstMessageHandle dropped(message);
    return GST_BUS_DROP;
}
