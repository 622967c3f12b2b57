#pragma once

#include "archive/ArchiveEntry.h"
#include "document/DocumentObserver.h"
#include "settings/ProgramSettings.h"

#include <QList>
#include <QString>
#include <QStringList>

// Keeps a document's events for the archive until Record: the command-line tool's half of
// the archive. A command hands its entries over once the dialer's port is closed and the
// file it reads into is saved, so an archive that is slow to answer (a server's
// connection time-out) holds neither the port nor the saving of a read. Hand it to
// ConfigDocument::SetObserver.
//
// One thread: the one that owns the document.
class DeferredArchiver : public DocumentObserver
{
public:
    // queueFile: the local queue (default: ArchiveRecorder::QueuePath()).
    explicit DeferredArchiver(ArchiveOptions options, QString queueFile = QString());

    void DocumentEventHappened(const DocumentEvent& event) override;

    // Keeps every entry held so far in the archive the options name (or in its local
    // queue when the archive is out of reach), oldest first, and lets them go; waits on
    // the archive ArchiveRecorder::Patience at most in all, and not at all once wakeFd
    // (-1: none) is readable (the rest go to the queue). Returns the lines to tell: why
    // entries did not reach the archive and where they are, a broken queue set aside;
    // none when all went well.
    QStringList Record(int wakeFd = -1);
    // How many entries wait for Record.
    qsizetype Held() const { return m_held.size(); }

private:
    ArchiveOptions m_options;
    QString m_queueFile;
    QList<ArchiveEntry> m_held;
};
