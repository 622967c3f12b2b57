#pragma once

#include "archive/ArchiveRecorder.h"
#include "document/DocumentObserver.h"

#include <QObject>
#include <QString>

// Keeps every event of a document in the archive: the window's half of the archive
// (the command-line tool records its own). Hand it to ConfigDocument::SetObserver.
// When the archive cannot be reached the entry waits in the local queue and
// problemChanged tells the status bar in one line; an empty line when all is well again.
//
// Thread: the UI thread.
class DocumentArchiver : public QObject, public DocumentObserver
{
    Q_OBJECT

public:
    explicit DocumentArchiver(ArchiveOptions options, QString queueFile = QString(),
                              QObject* parent = nullptr);

    void DocumentEventHappened(const DocumentEvent& event) override;
    ArchiveRecorder& Recorder() { return m_recorder; }
    const QString& Problem() const { return m_recorder.Problem(); }

signals:
    void problemChanged(const QString& line);
    // An entry has been kept (in the archive or the queue): an open list is due.
    void recorded(const ArchiveEntry& entry);

private:
    ArchiveRecorder m_recorder;
    QString m_shown;
};

// The archive's name of a document event ("read", "save", ...).
QString ArchiveEventName(DocumentEvent::Kind kind);
