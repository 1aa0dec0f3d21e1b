#include "loudness/gain_tag_reader.h"

namespace {

// Files read before what was read is handed over: a few updates a second on a long
// list rather than one per file.
constexpr int kBatch = 64;

} // namespace

GainTagReader::GainTagReader(QObject* parent)
    : QObject(parent)
    , m_worker([this] { work(); })
{
}

GainTagReader::~GainTagReader()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_wake.notify_one();
    m_worker.join();
}

const GainTags* GainTagReader::find(const QString& path)
{
    const auto found = m_tags.constFind(path);
    if (found != m_tags.cend())
        return &*found;
    if (!m_queued.contains(path)) {
        m_queued.insert(path);
        {
            const std::lock_guard lock(m_mutex);
            m_queue.push_back(path);
        }
        m_wake.notify_one();
    }
    return nullptr;
}

const GainTags& GainTagReader::readNow(const QString& path)
{
    auto found = m_tags.find(path);
    if (found == m_tags.end())
        found = m_tags.insert(path, readGainTags(path));
    return *found;
}

// The worker's thread.
void GainTagReader::work()
{
    QList<QPair<QString, GainTags>> read;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop)
            return;
        const QString path = m_queue.front();
        m_queue.pop_front();
        lock.unlock();
        read.append({path, readGainTags(path)});
        lock.lock();
        if (read.size() >= kBatch || m_queue.empty()) {
            QMetaObject::invokeMethod(this, [this, read] { keep(read); }, Qt::QueuedConnection);
            read.clear();
        }
    }
}

void GainTagReader::keep(const QList<QPair<QString, GainTags>>& read)
{
    for (const auto& [path, tags] : read)
        m_tags.insert(path, tags);
    Q_EMIT tagsRead();
}
