#include "document/DeferredArchiver.h"

#include "archive/ArchiveRecorder.h"
#include "document/DocumentArchiver.h"
#include "model/ErrorSink.h"

DeferredArchiver::DeferredArchiver(ArchiveOptions options, QString queueFile)
    : m_options(std::move(options)), m_queueFile(std::move(queueFile))
{}

void DeferredArchiver::DocumentEventHappened(const DocumentEvent& event)
{
    // The archive never stands in the way of the dialer: nothing escapes from here.
    try {
        m_held.append(ArchiveEntryOf(event));
    } catch (...) {
        ErrorSink::Report(std::current_exception());
    }
}

QStringList DeferredArchiver::Record(int wakeFd)
{
    if (m_held.isEmpty())
        return {};
    ArchiveRecorder recorder(m_options, m_queueFile, wakeFd);
    // One bound for the whole command, however many entries it made.
    const QDeadlineTimer deadline(ArchiveRecorder::Patience);
    for (ArchiveEntry& entry : m_held)
        recorder.Record(entry, deadline);
    m_held.clear();
    // The last line tells of every entry: once one has gone to the queue, the others
    // follow it there, and the line counts them.
    QStringList lines = recorder.TakeNotices();
    if (!recorder.Problem().isEmpty())
        lines << recorder.Problem();
    return lines;
}
