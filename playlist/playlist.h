#pragma once

#include "common/playlist_table.h"

#include <QObject>
#include <QString>

class BasicRandom;

// The playlist: its entries in list order and their total time. Every change goes
// through here and is announced, so the list's rows and the total follow by
// themselves. While a batch is open (an add, load or drop letting events run
// between its files) new rows show at once and the total is recounted once, when
// the batch closes.
class Playlist : public QObject {
    Q_OBJECT
public:
    explicit Playlist(QObject* parent = nullptr);

    const PlaylistTable& table() const { return m_table; }
    int count() const { return int(m_table.size()); }
    bool isEmpty() const { return m_table.empty(); }
    int lastIndex() const { return count() - 1; }
    const PlaylistEntry& at(int index) const { return m_table[size_t(index)]; }
    // Seconds of all lengths and all gaps but the last, as last counted.
    double total() const { return m_total; }

    // Adds an entry at the end; a Failure "Overflow" when the playlist is full.
    void append(const PlaylistEntry& entry);
    // Fails as append would, before the work of measuring an entry is done.
    void checkRoom() const;
    void remove(int index);
    void exchange(int a, int b);
    void shuffle(BasicRandom& random);
    void setGap(int index, double gapMs);
    void clear();
    // The name of the playlist file the list was first loaded from, without its
    // extension, and the folder it is in; empty when none was, and again once the
    // list is cleared.
    QString name() const { return m_name; }
    QString folder() const { return m_folder; }
    void setName(const QString& name, const QString& folder = {})
    {
        m_name = name;
        m_folder = folder;
    }
    // Recounts and announces the total, as every change does.
    void updateTotal();

    // Holds back the recount of the total until the last open batch closes.
    class Batch {
    public:
        explicit Batch(Playlist& playlist);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Playlist& m_playlist;
    };

Q_SIGNALS:
    void entryAppended(int index);
    // Entries were removed, moved or changed: every row is to be rewritten.
    void entriesChanged();
    void cleared();
    void totalChanged(double total);

private:
    void changed();

    PlaylistTable m_table;
    QString m_name;
    QString m_folder;
    double m_total = 0;
    int m_openBatches = 0;
};
