#include "support/example_disc.h"
#include "support/file_bytes.h"
#include "support/local_http_server.h"
#include "support/main_window_fixture.h"


// A CD without CD-Text put on the list is looked up: its title shows in the list's
// tool-tip and in the track list, and a list of its tracks alone is saved for import
// under its album. A failed lookup says so in a word, never in a dialog.
TEST_F(MainWindowTest, aLookedUpTitleShowsInTheToolTipAndTheTrackList)
{
    LocalHttpServer server;
    server.respond(200, R"({"releases": [{"title": "Lento", "artist-credit": [{"name": "Ana"}], "media": [
        {"discs": [{"id": "49HHV7Eb8UKF3aQiNmu1GR8vKTY-"}], "tracks": [{"title": "Uno"}, {"title": "Dos"}]}]}]})");
    discs.setDisc("/media/cdrom", exampleDisc());
    AppServices withServer = services();
    withServer.discLookupAddress = server.address({});
    window = std::make_unique<MainWindow>(withServer);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    QSignalSpy changed(&window->model(), &QAbstractItemModel::dataChanged);
    fill({ { "/media/cdrom/Track02.cda", 216, 2000 }, { "/music/song.mp3", 100, 2000 } });
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(window->model().index(0, 1).data(Qt::ToolTipRole).toString(), "Ana - Dos");
    EXPECT_FALSE(window->model().index(1, 1).data(Qt::ToolTipRole).isValid());
    window->recorderWindow().show();
    QTest::qWait(10);
    EXPECT_TRUE(window->recorderWindow().findChild<QPlainTextEdit*>("TrackListText")->toPlainText().contains("1. Ana - Dos"));
    window->playlist().remove(1);
    QTest::qWait(10); // the track list follows
    QTemporaryDir dir;
    dialogs.fileAnswers.push_back({dir.filePath("disc.csv")});
    window->recorderWindow().findChild<QPushButton*>("SaveTitlesButton")->click();
    EXPECT_EQ(bytesOf(dir.filePath("disc.csv")).split('\n').value(1), "0,0-0,,,Lento,,216,\r");
    window->recorderWindow().close();

    server.respond(404, {});
    Disc unknown = exampleDisc();
    unknown.leadOut += 75;
    discs.setDisc("/media/cdrom", unknown);
    window = std::make_unique<MainWindow>(withServer);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    fill({ { "/media/cdrom/Track02.cda", 216, 2000 } });
    QLabel* label = window->ui.nowPlayingLabel;
    EXPECT_TRUE(QTest::qWaitFor([label] { return !label->text().isEmpty(); }, 5000));
    EXPECT_EQ(label->text(), "No CD titles online");
    EXPECT_EQ(label->toolTip(), "CD titles not looked up: 127.0.0.1 does not know the disc.");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window->model().index(0, 1).data(Qt::ToolTipRole), QVariant());
}
