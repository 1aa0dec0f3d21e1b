#pragma once

#include <QString>
#include <gst/gst.h>

// GStreamer's own description of the error an error message carries.
QString gstErrorText(GstMessage* message);
