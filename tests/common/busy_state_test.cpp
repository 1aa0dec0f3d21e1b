#include "common/busy_state.h"

#include "common/flat_button.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using Activity = BusyState::Activity;

// Two list commands, one button the run shares with them and one that is the run's
// alone, and the arrows.
class BusyStateTest : public ::testing::Test {
protected:
    FlatButton listOnly{QStringLiteral("list")};
    FlatButton shared{QStringLiteral("shared")};
    FlatButton runOnly{QStringLiteral("run")};
    QWidget arrows;
    BusyState state{{{&listOnly, &shared}, {&shared, &runOnly}, &arrows}};

    // Which controls are off, as "list shared run arrows" flags (an off button is grey),
    // then whether the state is busy, adding and recording.
    QString off() const
    {
        QString flags;
        for (const FlatButton* b : {&listOnly, &shared, &runOnly}) {
            EXPECT_EQ(b->captionColor(), b->isEnabled() ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
            flags += b->isEnabled() ? '-' : 'x';
        }
        return flags + (arrows.isEnabled() ? '-' : 'x') + (state.busy() ? 'b' : '-') + (state.adding() ? 'a' : '-')
             + (state.recording() ? 'r' : '-');
    }
};

TEST_F(BusyStateTest, nestedClaimsKeepEachControlOffUntilTheLastThatSwitchedItOffEndsAndAStopWantedOfAnAddComesAtItsEnd)
{
    EXPECT_EQ(off(), "-------");
    {
        const BusyState::Claim add(state, Activity::Adding);
        EXPECT_EQ(off(), "xx--ba-");
        {
            const BusyState::Claim run(state, Activity::Recording);
            EXPECT_EQ(off(), "xxxxbar");
            {
                const BusyState::Claim removal(state, Activity::Editing);
                EXPECT_EQ(off(), "xxxxbar");
            }
            EXPECT_EQ(off(), "xxxxbar");
        }
        EXPECT_EQ(off(), "xx--ba-") << "the shared button waits for the add";
        { const BusyState::Claim secondAdd(state, Activity::Adding); }
        EXPECT_EQ(off(), "xx--ba-");
    }
    EXPECT_EQ(off(), "-------");

    // A stop is wanted only of an add, is honoured once the outermost add has ended,
    // and is forgotten then.
    QSignalSpy stopped(&state, &BusyState::stoppedAsAsked);
    EXPECT_FALSE(state.askToStop());
    {
        const BusyState::Claim run(state, Activity::Recording);
        const BusyState::Claim removal(state, Activity::Editing);
        EXPECT_FALSE(state.askToStop() || state.stopWanted());
    }
    {
        const BusyState::Claim add(state, Activity::Adding);
        {
            const BusyState::Claim load(state, Activity::Adding);
            EXPECT_TRUE(state.askToStop() && state.stopWanted());
        }
        EXPECT_TRUE(state.stopWanted() && stopped.count() == 0);
    }
    EXPECT_TRUE(stopped.count() == 1 && !state.stopWanted());
    {
        const BusyState::Claim add(state, Activity::Adding);
        EXPECT_FALSE(state.stopWanted()) << "forgotten";
    }
    EXPECT_EQ(stopped.count(), 1);
}

} // namespace
