#pragma once

#include "player/gst_handles.h"

#include <functional>

// Sets GStreamer up, once for the whole program; everything made of it comes after.
void initGStreamer();

// A pipeline and its bus. Every message is handed, on the thread that posts it,
// to a handler that says whether to leave it on the bus for someone waiting
// there; any other is dropped at once, so nothing piles up. Going, it stops
// the pipeline while the handler still hears it: what the handler uses must
// outlive it.
class Pipeline {
public:
    // True: the message stays on the bus.
    using MessageHandler = std::function<bool(GstMessage* message)>;

    Pipeline(GstElementHandle element, MessageHandler onMessage);
    ~Pipeline();
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    GstElement* element() const { return m_element.get(); }
    GstBus* bus() const { return m_bus.get(); }

private:
    static GstBusSyncReply onBusMessage(GstBus* bus, GstMessage* message, gpointer self);

    MessageHandler m_onMessage;
    GstElementHandle m_element;
    GstBusHandle m_bus;
};
