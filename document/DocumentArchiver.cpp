#include "document/DocumentArchiver.h"

#include "model/ErrorSink.h"

DocumentArchiver::DocumentArchiver(ArchiveOptions options, QString queueFile, QObject* parent)
    : QObject(parent), m_recorder(std::move(options), std::move(queueFile))
{}

QString ArchiveEventName(DocumentEvent::Kind kind)
{
    switch (kind) {
    case DocumentEvent::Kind::Read:
        return QString::fromLatin1(ArchiveEntry::Read);
    case DocumentEvent::Kind::Write:
        return QString::fromLatin1(ArchiveEntry::Write);
    case DocumentEvent::Kind::Verify:
        return QString::fromLatin1(ArchiveEntry::Verify);
    case DocumentEvent::Kind::Restart:
        return QString::fromLatin1(ArchiveEntry::Restart);
    case DocumentEvent::Kind::Load:
        return QString::fromLatin1(ArchiveEntry::Load);
    case DocumentEvent::Kind::Save:
        break;
    }
    return QString::fromLatin1(ArchiveEntry::Save);
}

void DocumentArchiver::DocumentEventHappened(const DocumentEvent& event)
{
    // The archive never stands in the way of the dialer: nothing escapes from here.
    try {
        ArchiveEntry entry = ArchiveEntry::Now(ArchiveEventName(event.kind), event.settings);
        entry.succeeded = event.succeeded;
        entry.outcome = event.message;
        entry.fileName = event.fileName;
        entry.port = event.fileName.isEmpty() ? event.port : QString();
        m_recorder.Record(entry);
        if (m_recorder.Problem() != m_shown) {
            m_shown = m_recorder.Problem();
            emit problemChanged(m_shown);
        }
        emit recorded(entry);
    } catch (...) {
        ErrorSink::Report(std::current_exception());
    }
}
