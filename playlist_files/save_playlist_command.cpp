#include "playlist_files/save_playlist_command.h"

#include "common/dialogs.h"
#include "common/failure.h"
#include "common/flat_button.h"
#include "playlist_files/playlist_writer.h"

#include <QApplication>

namespace {

const QStringList kFilters{QStringLiteral("M3U playlist (*.m3u)"), QStringLiteral("PLS Playlist (*.pls)")};

PlaylistFormat formatOfFilter(const QString& filter)
{
    if (filter == kFilters[0])
        return PlaylistFormat::M3u;
    return filter == kFilters[1] ? PlaylistFormat::Pls : PlaylistFormat::None;
}

// The hourglass while the file is written; the pointer comes back on every way
// out, before any message is shown.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

SavePlaylistCommand::SavePlaylistCommand(FlatButton* button, const PlaylistTable& table, Dialogs& dialogs,
                                         QWidget* dialogParent)
    : QObject(button)
    , m_table(table)
    , m_dialogs(dialogs)
    , m_dialogParent(dialogParent)
    , m_lastFilter(kFilters.first())
{
    connect(button, &QPushButton::clicked, this, &SavePlaylistCommand::save);
}

void SavePlaylistCommand::save()
{
    try {
        Dialogs::FileRequest request{QStringLiteral("Save playlist"), kFilters, m_lastFilter, {}};
        const std::optional<QString> path = m_dialogs.saveFile(m_dialogParent, request);
        if (!path)
            return;
        m_lastFilter = request.selectedFilter;
        QStringList skipped;
        {
            const WaitCursor wait;
            skipped = writePlaylist(*path, saveFormat(*path, formatOfFilter(request.selectedFilter)), m_table);
        }
        if (!skipped.isEmpty())
            m_dialogs.message(m_dialogParent, skippedEntriesMessage(skipped), QStringLiteral("Trelvik"),
                                       QMessageBox::Warning);
    } catch (const Failure& failure) {
        m_dialogs.message(m_dialogParent, failure.description(), QStringLiteral("Trelvik"), QMessageBox::Warning);
    }
}
