#pragma once

#include <gst/gst.h>
#include <memory>

// Owning handles for the GStreamer and GLib objects the player holds, so that
// every reference is given back on every way out.
struct GstObjectUnref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct GstMessageUnref {
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

using GstElementHandle = std::unique_ptr<GstElement, GstObjectUnref>;
using GstBusHandle = std::unique_ptr<GstBus, GstObjectUnref>;
using GstMessageHandle = std::unique_ptr<GstMessage, GstMessageUnref>;
using GErrorHandle = std::unique_ptr<GError, GErrorFree>;
using GCharHandle = std::unique_ptr<gchar, GFree>;
