#include "playlist_files/save_playlist_command.h"

#include "app/main_window.h"
#include "common/dialogs.h"
#include "common/failure.h"
#include "common/flat_button.h"
#include "playlist_files/playlist_format.h"
#include "playlist_files/playlist_writer.h"

#include <QApplication>

namespace {

const QStringList kFilters{QStringLiteral("M3U playlist (*.m3u)"), QStringLiteral("PLS Playlist (*.pls)")};

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

SavePlaylistCommand::SavePlaylistCommand(MainWindow& window)
    : QObject(&window)
    , m_window(window)
    , m_lastFilter(kFilters.first())
{
    connect(window.ui.savePlaylist, &QPushButton::clicked, this, &SavePlaylistCommand::save);
}

void SavePlaylistCommand::save()
{
    try {
        Dialogs::FileRequest request{QStringLiteral("Save playlist"), kFilters, m_lastFilter};
        const QString path = m_window.dialogs().saveFile(&m_window, request);
        m_lastFilter = request.selectedFilter;
        QStringList skipped;
        {
            const WaitCursor wait;
            skipped = skrivplaylist(path, saveFormat(path, int(kFilters.indexOf(request.selectedFilter)) + 1),
                                    m_window.table());
        }
        if (!skipped.isEmpty())
            m_window.dialogs().message(&m_window, skippedEntriesMessage(skipped), QStringLiteral("Trelvik"),
                                       QMessageBox::Warning);
    } catch (const Failure& failure) {
        if (!failure.cancelled())
            m_window.dialogs().message(&m_window, failure.description(), QStringLiteral("Trelvik"),
                                       QMessageBox::Warning);
    }
}
