#include "player/gst_error_text.h"

#include "player/gst_handles.h"

QString gstErrorText(GstMessage* message)
{
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    const GErrorHandle ownedError(error);
    return QString::fromUtf8(error->message);
}
