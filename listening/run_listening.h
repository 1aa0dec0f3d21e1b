#pragma once

#include "listening/received_sound.h"
#include "listening/received_wav.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <mutex>

class InputListener;

// Listens on the chosen input while a run plays, and afterwards tells, track by
// track, what the recorder received. A failure of the input ends only the listening.
class RunListening : public QObject {
    Q_OBJECT
public:
    explicit RunListening(InputListener& listener, QObject* parent = nullptr);
    ~RunListening() override;

    // With a path, what is heard is also kept there as a WAV file.
    void start(const QString& input, const QString& wavPath = {});
    // Ends the listening a moment later, when the last sound has come back over the
    // cable, and reports what was heard of the entries sent.
    void finish(const std::vector<SentEntry>& sent, const SilenceRule& rule);

Q_SIGNALS:
    void reported(const QStringList& lines);
    // The listening ended early, in a sentence fit to show; the run goes on.
    void failed(const QString& message);

private:
    void report();
    // Closes the WAV file, if any, and tells where its sound is.
    QString finishWav();

    InputListener& m_listener;
    QTimer m_tail;
    std::vector<SentEntry> m_sent;
    SilenceRule m_rule;
    bool m_listening = false;
    std::mutex m_mutex; // the listener's threads append while the window's thread may finish
    ReceivedSound m_heard;
    std::unique_ptr<ReceivedWav> m_wav;
    QString m_wavNote; // why there is no WAV file
};
