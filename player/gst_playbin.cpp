#include "player/gst_playbin.h"

#include "common/failure.h"
#include "player/gst_error_text.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <mutex>

namespace {
// playbin's flags (GstPlayFlags is not in a public header).
constexpr guint kPlayVideo = 1u << 0;
constexpr guint kPlayAudio = 1u << 1;
constexpr guint kSoftVolume = 1u << 4;
constexpr guint kNativeVideo = 1u << 6;

GstElementHandle makeSink(const QString& description)
{
    GError* error = nullptr;
    GstElementHandle sink = ownNewElement(
        gst_parse_bin_from_description(description.toUtf8().constData(), TRUE, &error));
    const GErrorHandle ownedError(error);
    if (!sink)
        throw Failure(QString::fromUtf8(error ? error->message : "No sink") + QLatin1Char('\n') + description);
    return sink;
}

GstElementHandle makePlaybin(const QString& audioSink, const QString& videoSink)
{
    initGStreamer();
    GstElementHandle playbin = ownNewElement(gst_element_factory_make("playbin", nullptr));
    if (!playbin)
        throw Failure(QStringLiteral("GStreamer has no playbin element."));
    // Video is decoded only to keep its timing; it is never shown, and subtitles are not wanted.
    // The playbin takes its own reference to each sink.
    g_object_set(playbin.get(), "flags", kPlayAudio | kPlayVideo | kNativeVideo | kSoftVolume, "audio-sink",
        makeSink(audioSink).get(), "video-sink", makeSink(videoSink).get(), nullptr);
    return playbin;
}

// In pull mode aiffparse now and then sends its first buffer before decodebin
// has linked it, and the preroll stalls without an error. Fed by a push
// source it waits for the link.
QByteArray pushedWhereNeeded(const QString& path, const char* uri)
{
    static const QStringList aiff { QStringLiteral("aif"), QStringLiteral("aiff"), QStringLiteral("aifc") };
    const QByteArray fileUri(uri);
    if (!aiff.contains(QFileInfo(path).suffix().toLower()) || !fileUri.startsWith("file:"))
        return fileUri;
    const GstElementFactoryHandle pushSource(gst_element_factory_find("pushfilesrc"));
    return pushSource ? "push" + fileUri : fileUri;
}
// libcdio's source reads disc images as well as drives, and reports a read error
// instead of retrying for minutes; the other cdda source would be chosen first.
void preferLibcdioSource()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (const GstElementFactoryHandle factory(gst_element_factory_find("cdiocddasrc")); factory)
            gst_plugin_feature_set_rank(GST_PLUGIN_FEATURE(factory.get()), GST_RANK_PRIMARY + 1);
    });
}

// A streaming thread: writes the patches over the bytes they cover of a buffer
// the file source gives, whole or in part, wherever the buffer begins.
GstPadProbeReturn patchBytes(GstPad*, GstPadProbeInfo* info, gpointer patches)
{
    GstBuffer* buffer = gst_pad_probe_info_get_buffer(info);
    const guint64 begin = GST_BUFFER_OFFSET(buffer);
    if (begin == GST_BUFFER_OFFSET_NONE)
        return GST_PAD_PROBE_OK;
    const guint64 end = begin + gst_buffer_get_size(buffer);
    for (const BytePatch& patch : *static_cast<const std::vector<BytePatch>*>(patches)) {
        const guint64 from = std::max(begin, guint64(patch.offset));
        const guint64 to = std::min(end, guint64(patch.offset) + guint64(patch.bytes.size()));
        if (from >= to)
            continue;
        // Another may share the buffer's memory; the copy replaces the buffer passed on.
        buffer = gst_buffer_make_writable(buffer);
        GST_PAD_PROBE_INFO_DATA(info) = buffer;
        gst_buffer_fill(buffer, from - begin, patch.bytes.constData() + (from - guint64(patch.offset)), to - from);
    }
    return GST_PAD_PROBE_OK;
}
} // namespace

GstPlaybin::GstPlaybin(const QString& audioSink, const QString& videoSink, EndHandler onEnd)
    : m_onEnd(std::move(onEnd))
    , m_pipeline(makePlaybin(audioSink, videoSink), [this](GstMessage* message) { return onBusMessage(message); })
{
    g_signal_connect(m_pipeline.element(), "source-setup", G_CALLBACK(&GstPlaybin::onSourceSetup), this);
}

// A cdda source reads the drive (or image) asked for, not the system's default drive.
// A file source hands on the patched bytes, pulled (as demuxers mostly read) or pushed.
void GstPlaybin::onSourceSetup(GstElement*, GstElement* source, gpointer self)
{
    const QString& device = static_cast<GstPlaybin*>(self)->m_cdDevice;
    if (!device.isEmpty() && g_object_class_find_property(G_OBJECT_GET_CLASS(source), "device"))
        g_object_set(source, "device", QFile::encodeName(device).constData(), nullptr);
    const std::vector<BytePatch>& patches = static_cast<GstPlaybin*>(self)->m_patches;
    if (const GstPadHandle pad(gst_element_get_static_pad(source, "src")); pad && !patches.empty()) {
        // The probe keeps its own copy: it lasts as long as the source, past the next start.
        gst_pad_add_probe(pad.get(),
            GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_PUSH | GST_PAD_PROBE_TYPE_PULL),
            &patchBytes, new std::vector<BytePatch>(patches),
            [](gpointer copy) { delete static_cast<std::vector<BytePatch>*>(copy); });
    }
}

// Runs on whichever thread posts. Only what open() and measureDuration() wait
// for stays on the bus.
bool GstPlaybin::onBusMessage(GstMessage* message)
{
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_ERROR)
        m_failed = true;
    if (!m_onEnd)
        return type & (GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_DURATION_CHANGED | GST_MESSAGE_ERROR | GST_MESSAGE_EOS);
    if (type == GST_MESSAGE_ERROR || type == GST_MESSAGE_EOS)
        m_onEnd(type == GST_MESSAGE_ERROR ? gstErrorText(message) : QString());
    return false;
}

bool GstPlaybin::setUri(const QString& path, QString& error)
{
    halt();
    m_path = path;
    GError* gerror = nullptr;
    const GCharHandle uri(gst_filename_to_uri(QFile::encodeName(path).constData(), &gerror));
    const GErrorHandle ownedError(gerror);
    if (!uri) {
        error = QString::fromUtf8(gerror ? gerror->message : "Not a file name");
        return false;
    }
    g_object_set(m_pipeline.element(), "uri", pushedWhereNeeded(path, uri.get()).constData(), nullptr);
    return true;
}

void GstPlaybin::open(const QString& path)
{
    QString error;
    if (!setUri(path, error))
        failWith(error);
    const GstStateChangeReturn change = gst_element_set_state(m_pipeline.element(), GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_SUCCESS || change == GST_STATE_CHANGE_NO_PREROLL)
        return;
    // Bounded: a demuxer that stalls without an error must not hang the program.
    const GstMessageHandle reply(gst_bus_timed_pop_filtered(m_pipeline.bus(),
        change == GST_STATE_CHANGE_ASYNC ? kOpenTimeoutMs * GST_MSECOND : 0,
        GstMessageType(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR)));
    if (!reply && change == GST_STATE_CHANGE_ASYNC)
        failWith(QStringLiteral("The file did not open within %1 seconds.").arg(kOpenTimeoutMs / 1000));
    if (!reply || GST_MESSAGE_TYPE(reply.get()) == GST_MESSAGE_ERROR)
        failWith(reply ? gstErrorText(reply.get()) : QStringLiteral("The file could not be opened."));
}

double GstPlaybin::measureDuration()
{
    if (const double seconds = durationSeconds(); seconds > 0)
        return seconds;
    // MPEG audio without a length header and bare video streams only know their
    // length once they have been read on: run through them as fast as they decode.
    if (gst_element_set_state(m_pipeline.element(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return 0;
    QDeadlineTimer deadline(kOpenTimeoutMs);
    while (!deadline.hasExpired()) {
        const GstMessageHandle message(gst_bus_timed_pop_filtered(m_pipeline.bus(),
            deadline.remainingTime() * GST_MSECOND,
            GstMessageType(GST_MESSAGE_DURATION_CHANGED | GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
        if (!message || GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR)
            return 0;
        if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_EOS)
            return positionSeconds();
        if (const double seconds = durationSeconds(); seconds > 0)
            return seconds;
    }
    return 0;
}

void GstPlaybin::start(const QString& path, const std::vector<BytePatch>& patches)
{
    QString error;
    if (!setUri(path, error)) {
        m_onEnd(error);
        return;
    }
    m_patches = patches;
    play();
}

void GstPlaybin::startCdTrack(const QString& device, int track)
{
    preferLibcdioSource();
    halt();
    m_path = device;
    m_cdDevice = device;
    g_object_set(m_pipeline.element(), "uri", QByteArray("cdda://" + QByteArray::number(track)).constData(), nullptr);
    play();
}

void GstPlaybin::play()
{
    // A refusal here has posted its error already, and the handler has heard it.
    if (gst_element_set_state(m_pipeline.element(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE && !m_failed)
        m_onEnd(QStringLiteral("The file could not be played."));
}

void GstPlaybin::halt()
{
    // READY keeps the decoders, so the next file opens sooner; after an error
    // only NULL makes sure nothing of the failed file is left for the next.
    gst_element_set_state(m_pipeline.element(), m_failed.exchange(false) ? GST_STATE_NULL : GST_STATE_READY);
    // A stream that is gone must leave nothing behind for the next one to find.
    gst_bus_set_flushing(m_pipeline.bus(), TRUE);
    gst_bus_set_flushing(m_pipeline.bus(), FALSE);
    m_path.clear();
    m_cdDevice.clear();
    m_patches.clear();
}

void GstPlaybin::failWith(const QString& description)
{
    const QString path = m_path;
    m_failed = true;
    halt();
    throw Failure(description + QLatin1Char('\n') + QDir::toNativeSeparators(path));
}

double GstPlaybin::querySeconds(gboolean (*query)(GstElement*, GstFormat, gint64*)) const
{
    gint64 nanoseconds = 0;
    if (m_path.isEmpty() || !query(m_pipeline.element(), GST_FORMAT_TIME, &nanoseconds) || nanoseconds < 0)
        return 0;
    return double(nanoseconds) / GST_SECOND;
}

double GstPlaybin::durationSeconds() const
{
    return querySeconds(gst_element_query_duration);
}

double GstPlaybin::positionSeconds() const
{
    return querySeconds(gst_element_query_position);
}
