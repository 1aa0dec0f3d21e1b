#pragma once

#include "gain_tags/gain_tags.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Reads the gain tags of files on a thread of its own, each file once a program run
// (tags seldom change under a list), so that a long list's tags never hold up the
// window. What it read is handed over on the thread it lives on.
class GainTagReader : public QObject {
    Q_OBJECT
public:
    explicit GainTagReader(QObject* parent = nullptr);
    // Waits for the file being read, if any; the rest of the queue is dropped.
    ~GainTagReader() override;

    // A file's tags once read; nothing while unread, and it is then queued.
    const GainTags* find(const QString& path);
    // A file's tags, read at once on the caller's thread when they are not yet known.
    const GainTags& readNow(const QString& path);

Q_SIGNALS:
    // Tags of more files are known.
    void tagsRead();

private:
    void work();
    void keep(const QList<QPair<QString, GainTags>>& read);

    QHash<QString, GainTags> m_tags;
    QSet<QString> m_queued; // the window's side's record of what it asked for

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QString> m_queue; // guarded by m_mutex, as is m_stop
    bool m_stop = false;
    std::thread m_worker;
};
