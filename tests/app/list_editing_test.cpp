#include "support/main_window_fixture.h"

#include "support/qt_printers.h"

#include "playlist/row_form.h"

#include <functional>

namespace {

// Tracks named by one letter; the letter also makes each track's length and gap,
// so a track that lost or swapped a field shows up.
PlaylistEntry track(QChar name)
{
    return {QStringLiteral("/music/") + name, 100 + name.unicode(), 1000.0 + name.unicode()};
}

using Action = std::function<void()>;

class ListEditingTest : public MainWindowTest {
protected:
    QTreeView* list = nullptr;

    void SetUp() override
    {
        load();
        window->show();
        list = window->ui.playlistView;
        list->setFocus();
    }
    void refill(const QString& names)
    {
        window->ui.clearList->click();
        for (QChar name : names)
            fill({track(name)});
    }

    // The letters in list order; the list shows a row for each, and every track
    // kept its own fields.
    QString shown() const
    {
        EXPECT_EQ(window->model().rowCount(), window->playlist().count());
        QString names;
        for (int i = 0; i < window->playlist().count(); ++i) {
            const PlaylistEntry& entry = window->playlist().at(i);
            const PlaylistEntry own = track(entry.path.back());
            EXPECT_TRUE(entry.length == own.length && entry.gap == own.gap) << i;
            names += entry.path.back();
        }
        return names;
    }
    int selectedRow() const
    {
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() + 1 : 0;
    }

    QPoint rowCentre(int row) const { return list->visualRect(window->model().index(row - 1, 1)).center(); }
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(list->viewport(), button, {}, rowCentre(row)); }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(list, Qt::Key(key), modifiers); }

    QMenu* meny() const { return window->findChild<QMenu*>(QStringLiteral("meny")); }
};

} // namespace

// Removing from the keyboard keeps the selection in place or on the new last row; the
// menu, whose right press selects the row under the pointer, leaves the first row
// selected. A move carries the track and the selection, but not beyond the ends nor
// with other modifiers than Shift alone.
TEST_F(ListEditingTest, removalsAndMoves_leaveTheTracksAndTheSelectionInPlace)
{
    const auto keyWith = [this](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        return [this, k, modifiers] { key(k, modifiers); };
    };
    const auto arrow = [this](bool up) {
        return [this, up] { QTest::mouseClick(up ? window->ui.moveButtons->upButton() : window->ui.moveButtons->downButton(), Qt::LeftButton); };
    };
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const struct { const char* how; int row; Action act; const char* order; int selected; } cases[] = {
        {"Shift+Delete on the last row", 4, keyWith(Qt::Key_Delete, shift), "ABC", 3},
        {"Delete", 2, keyWith(Qt::Key_Delete), "ACD", 2},
        {"Delete on the only row", 1, [this] { refill("A"); clickRow(1); key(Qt::Key_Delete); }, "", 0},
        {"menu removal", 3, [this] {
             clickRow(4, Qt::RightButton); // the popup menu opens; its item is picked
             EXPECT_TRUE(meny()->isVisible());
             meny()->hide();
             meny()->findChild<QAction*>("tabort")->trigger();
         }, "ABC", 1},
        {"Shift+Down", 2, keyWith(Qt::Key_Down, shift), "ACBD", 3},
        {"down arrow", 2, arrow(false), "ACBD", 3},
        {"Shift+Up", 3, keyWith(Qt::Key_Up, shift), "ACBD", 2},
        {"up arrow", 3, arrow(true), "ACBD", 2},
        {"up arrow on the first row", 1, arrow(true), "ABCD", 1},
        {"down arrow on the last row", 4, arrow(false), "ABCD", 4},
        {"Ctrl+Shift+Down", 2, keyWith(Qt::Key_Down, shift | Qt::ControlModifier), "ABCD", 0},
    };
    for (const auto& c : cases) {
        refill("ABCD");
        clickRow(c.row);
        EXPECT_FALSE(meny()->isVisible()) << "only the right button opens it";
        c.act();
        EXPECT_EQ(shown(), c.order) << c.how;
        if (c.selected == 0)
            continue; // the view's own handling of the key may move the selection
        EXPECT_EQ(selectedRow(), c.selected) << c.how;
        EXPECT_EQ(list->toolTip(), window->playlist().table()[c.selected - 1].path) << c.how;
    }
    EXPECT_TRUE(!window->busyState().busy() && window->ui.addFiles->isEnabled());
}

// The rows are never edited in place: F2 asks for the gap in a dialog, which shows the
// gap in seconds; a gap no timer can wait is refused.
TEST_F(ListEditingTest, changeGap_asksForSecondsAndRefusesWhatNoTimerCanWait)
{
    fill({{"a", 100, 2000}, {"b", 100, 1500}, {"c", 100, 2000}});
    clickRow(2);
    const std::pair<std::optional<QString>, double> answers[] = {
        {QString(), 1500},           {std::nullopt, 1500}, {QStringLiteral("3"), 3000},
        {QStringLiteral("-1"), -1000}, {QStringLiteral("1e300"), -1000},
    };
    for (const auto& [answer, gap] : answers) {
        dialogs.inputAnswers = {answer};
        key(Qt::Key_F2);
        EXPECT_EQ(window->playlist().table()[1].gap, gap);
        EXPECT_EQ(selectedRow(), 2);
    }
    // The row and the total show the change: b's gap of -1 s counts, c's as the last does not.
    EXPECT_EQ(window->model().index(1, int(PlaylistColumn::Gap)).data().toString(), QStringLiteral("-1"));
    EXPECT_EQ(window->ui.totalTimeLabel->text(), QStringLiteral("Total time: 05:01"));
    ASSERT_EQ(dialogs.inputs.size(), 5u);
    EXPECT_EQ(dialogs.inputs.back().defaultText, "-1");
    EXPECT_EQ(dialogs.takeWarnings(), QStringList({"The gap length is out of range."}));

    clickRow(2); // on the selected row
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(2));
    EXPECT_EQ(list->findChild<QLineEdit*>(), nullptr);
}

TEST_F(ListEditingTest, shuffle_firstThingAfterEachStartGivesTheSameOrder)
{
    // The unseeded generator's first draws exchange slots (2,2) (2,1) (1,3) (0,3),
    // then (3,2) (0,1) (3,3) (1,3).
    for (int run = 0; run < 2; ++run) {
        SetUp();
        refill("ABCD");
        window->ui.shuffle->click();
        EXPECT_EQ(shown(), QStringLiteral("CDBA")) << run;
        EXPECT_EQ(list->toolTip(), QStringLiteral("/music/C")); // the first row is selected
    }
    window->ui.shuffle->click();
    EXPECT_EQ(shown(), QStringLiteral("DBAC"));
}

// No edit goes through during a run; a run also keeps its own tool-tip on the list,
// which otherwise shows the clicked row's path.
TEST_F(ListEditingTest, nothingChangesDuringARun)
{
    refill("ABC");
    clickRow(2);
    const QString total = window->ui.totalTimeLabel->text();
    const BusyState::Claim run(window->busyState(), BusyState::Activity::Recording);
    list->setToolTip(QStringLiteral("the run's"));
    // Every key goes through one refusal; the menu is refused before it opens. The
    // buttons are off during a run; their clicks are sent anyway, to reach the
    // refusals behind them.
    for (const Action& attempt : std::initializer_list<Action>{
             [this] { key(Qt::Key_Delete); }, [this] { key(Qt::Key_F2); },
             [this] { Q_EMIT window->ui.moveButtons->upClicked(); },
             [this] { Q_EMIT window->ui.moveButtons->downClicked(); },
             [this] { Q_EMIT window->ui.shuffle->clicked(); }, [this] { Q_EMIT window->ui.clearList->clicked(); }}) {
        clickRow(2);
        attempt();
    }
    clickRow(2, Qt::RightButton);
    EXPECT_FALSE(meny()->isVisible());
    EXPECT_EQ(shown(), QStringLiteral("ABC"));
    EXPECT_TRUE(dialogs.inputs.empty());
    EXPECT_EQ(window->ui.totalTimeLabel->text(), total);
    EXPECT_EQ(list->toolTip(), QStringLiteral("the run's"));
}

// While an add lets events run, the list can be reordered, shuffled and its gaps
// changed; only removal waits. The add then goes on at the end of the list.
TEST_F(ListEditingTest, duringAnAdd_onlyRemovalWaits)
{
    refill("ABC");
    // Files named to end in d, with the length and gap track('d') has.
    window->ui.defaultGapEdit->setText("1.1");
    dialogs.fileAnswers.push_back({mediaFile("1.mid", 200), mediaFile("2.mid", 200)});
    QTimer::singleShot(0, window.get(), [this] { // runs after the first file is added
        clickRow(2);
        key(Qt::Key_Delete);
        key(Qt::Key_Down, Qt::ShiftModifier); // ACBd
        window->ui.shuffle->click();          // BdCA
        key(Qt::Key_F2);                      // asked, then cancelled
        clickRow(1, Qt::RightButton);
        EXPECT_TRUE(meny()->isVisible());
        meny()->hide();
    });
    window->ui.addFiles->click();
    EXPECT_EQ(dialogs.inputs.size(), 1u);
    EXPECT_EQ(shown(), QStringLiteral("BdCAd"));
}
