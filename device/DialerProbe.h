#pragma once

#include "device/TransferLog.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <vector>

class TSerialPort;

// Finds the dialer: opens every port given at once, sends each the read frame of block 0
// (the dialer only answers it; nothing is ever written into a dialer) and waits for
// well-formed replies. One deadline for all ports, so a probe of any number of ports ends
// within one reply time plus the time to open them, not one reply time per port.
//
// A reply counts only as a dialer says it: A1 00, the block, its checksum, and then
// nothing for a quiet time. A line held in BREAK (zeros) or carrying noise never counts.
//
// Thread: the thread that creates it, which must run an event loop while a probe runs;
// each port's monitor thread hands its bytes to that thread.
class DialerProbe : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        QString port;          // as given: "COM3" or a device path
        bool answered = false; // a well-formed reply to the read frame came back
        QString problem;       // why not: the port's error, "brak odpowiedzi", ...
    };

    static constexpr int DefaultReplyInterval = 3000; // ms, the link's reply timer
    // After a well-formed reply the line must stay quiet this long (the link's guard time);
    // a reply that comes at the very end of the reply time counts if it was quiet so far.
    static constexpr int DefaultQuietInterval = 150; // ms

    explicit DialerProbe(QObject* parent = nullptr);
    ~DialerProbe() override;

    // Tests only: a shorter wait.
    void SetReplyInterval(int ms) { m_replyInterval = ms; }
    void SetQuietInterval(int ms) { m_quietInterval = ms; }
    // Frames and chunks of every port, each entry naming its port (nullptr: none).
    void SetLog(TransferLog* log) { m_log = log; }

    // Starts probing ports (COMn names or device paths); Finished follows, also for an
    // empty list. A probe already running is abandoned first.
    void Start(const QStringList& ports);
    // Start and wait in a local event loop for Finished; returns the results.
    QList<Result> Run(const QStringList& ports);
    bool Running() const { return m_running; }

signals:
    // done of total ports have answered or failed.
    void Progress(int done, int total);
    // One result per port, in the order given.
    void Finished(const QList<DialerProbe::Result>& results);

private:
    struct Candidate;
    void Received(Candidate& candidate, int count);
    void Settle(Candidate& candidate, bool answered, const QString& problem);
    void Note(const Candidate& candidate, TransferLogEntry::Kind kind, const QByteArray& bytes);
    void Finish();

    std::vector<std::unique_ptr<Candidate>> m_candidates;
    QTimer m_deadline;
    QElapsedTimer m_clock;
    TransferLog* m_log = nullptr;
    int m_replyInterval = DefaultReplyInterval;
    int m_quietInterval = DefaultQuietInterval;
    int m_settled = 0;
    bool m_running = false;
    bool m_finishQueued = false;
    int m_generation = 0; // a queued end of an abandoned probe must not end the next one
};
