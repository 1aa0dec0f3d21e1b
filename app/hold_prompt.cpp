#include "app/hold_prompt.h"

#include "app/main_window_controls.h"
#include "common/flat_button.h"
#include "common/percent_bar.h"
#include "recording/recording_run.h"

#include <QGroupBox>
#include <QLabel>
#include <QTreeView>

namespace {

constexpr int kButtonHeight = 18;

} // namespace

HoldPrompt::HoldPrompt(MainWindowControls& ui, RecordingRun& run, QObject* parent)
    : QObject(parent)
    , m_ui(ui)
    , m_run(run)
{
    connect(&run, &RecordingRun::holdStarted, this, &HoldPrompt::show);
    connect(&run, &RecordingRun::holdEnded, this, &HoldPrompt::hide);
}

void HoldPrompt::show()
{
    const QString prompt = QStringLiteral("Side A done: turn the cassette over, start the recorder, press Continue");
    // The track's countdown and bar give their room, down to the total's countdown.
    m_labelPlace = m_ui.nowPlayingLabel->geometry();
    const int bottom = m_ui.totalLeftLabel->geometry().top() - 1;
    const QRect button(m_labelPlace.left(), bottom - kButtonHeight, m_labelPlace.width(), kButtonHeight);
    m_ui.trackLeftLabel->hide();
    m_ui.trackProgressBar->hide();
    m_ui.nowPlayingLabel->setWordWrap(true);
    m_ui.nowPlayingLabel->setGeometry(m_labelPlace.left(), m_labelPlace.top(), m_labelPlace.width(),
                                      button.top() - m_labelPlace.top());
    m_ui.nowPlayingLabel->setText(prompt);
    m_ui.playlistView->setToolTip(prompt);

    m_continue = new FlatButton(QStringLiteral("Continue"), m_ui.statusFrame);
    m_continue->setObjectName(QStringLiteral("Continue"));
    m_continue->setAccessibleName(QStringLiteral("Continue"));
    m_continue->setGeometry(button);
    m_continue->setAutoDefault(true); // Enter presses it too, as in a dialog
    connect(m_continue, &QPushButton::clicked, &m_run, &RecordingRun::continueRun);
    m_continue->show();
    m_continue->setFocus(); // a key goes on, once the recorder runs
}

void HoldPrompt::hide()
{
    // Its own click may have ended the hold: gone from view now, deleted once that is over.
    if (m_continue) {
        m_continue->hide();
        m_continue->deleteLater();
    }
    m_ui.nowPlayingLabel->setWordWrap(false);
    m_ui.nowPlayingLabel->setGeometry(m_labelPlace);
    m_ui.nowPlayingLabel->clear();
    m_ui.playlistView->setToolTip(QString());
    m_ui.trackLeftLabel->show();
    m_ui.trackProgressBar->show();
}
