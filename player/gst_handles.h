#pragma once

#include <gst/gst.h>
#include <memory>

// Owning handles for the GStreamer and GLib objects the player holds, so that
// every reference is given back on every way out.
struct GstObjectUnref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct GstMiniObjectUnref {
    void operator()(gpointer object) const { gst_mini_object_unref(GST_MINI_OBJECT_CAST(object)); }
};
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

using GstElementHandle = std::unique_ptr<GstElement, GstObjectUnref>;
using GstElementFactoryHandle = std::unique_ptr<GstElementFactory, GstObjectUnref>;
using GstBusHandle = std::unique_ptr<GstBus, GstObjectUnref>;
using GstClockHandle = std::unique_ptr<GstClock, GstObjectUnref>;
using GstPadHandle = std::unique_ptr<GstPad, GstObjectUnref>;
using GstMessageHandle = std::unique_ptr<GstMessage, GstMiniObjectUnref>;
using GstCapsHandle = std::unique_ptr<GstCaps, GstMiniObjectUnref>;
using GstBufferHandle = std::unique_ptr<GstBuffer, GstMiniObjectUnref>;
using GstSampleHandle = std::unique_ptr<GstSample, GstMiniObjectUnref>;
using GErrorHandle = std::unique_ptr<GError, GErrorFree>;
using GCharHandle = std::unique_ptr<gchar, GFree>;

// A newly made element comes floating; the handle takes that reference as its own.
inline GstElementHandle ownNewElement(GstElement* element)
{
    return GstElementHandle(element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr);
}
