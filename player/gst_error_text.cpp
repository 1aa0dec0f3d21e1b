#include "player/gst_error_text.h"

#include "player/gst_handles.h"

QString gstErrorText(GstMessage* message)
{
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    const GErrorHandle ownedError(error);
    const GCharHandle ownedDebug(debug);
    return QString::fromUtf8(error->message);
}
