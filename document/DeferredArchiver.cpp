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

QStringList DeferredArchiver::Record()
{
    QStringList problems;
    if (m_held.isEmpty())
        return problems;
    ArchiveRecorder recorder(m_options, m_queueFile);
    for (ArchiveEntry& entry : m_held)
        if (!recorder.Record(entry))
            problems << recorder.Problem();
    m_held.clear();
    return problems;
}
