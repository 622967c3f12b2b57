#pragma once

#include "archive/ArchiveDatabase.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

// Reads the archive window's pages, and how many entries match, for ArchiveListModel:
// on a thread of its own with a connection of its own (so that a search over a large
// archive never holds up the window), or on the window's thread with the window's
// connection. Each read carries the generation of the list it is for; a read for a list
// that a newer one has replaced (a key pressed in the search field since) is skipped, and
// what an abandoned one finds is dropped by the model.
//
// Read and Close: the thread the reader lives in. Supersede and Abort: any thread.
class ArchiveListReader : public QObject
{
    Q_OBJECT

public:
    // Reads through archive itself, which must be open and outlive the reader.
    explicit ArchiveListReader(ArchiveDatabase& archive);
    // Reads through a connection of its own to the same database, opened at the first read
    // on the reader's thread.
    ArchiveListReader(ArchiveDatabase::Kind kind, QString target);
    ~ArchiveListReader() override;

    // Reads a page of the list of that generation, and with count, how many match in all
    // when the page is full (a short page is all there is). Nothing when a newer generation
    // has been announced.
    void Read(quint64 generation, const ArchiveQuery& page, bool count);
    // Announces a newer list: reads for older ones are skipped from now on.
    void Supersede(quint64 generation) { m_latest = generation; }
    // Breaks off the read under way for good: the window is closing.
    void Abort();
    // Closes the reader's own connection.
    void Close();

signals:
    // error: the user's words when the page could not be read (entries then empty).
    void pageRead(quint64 generation, const QList<ArchiveEntry>& entries, const QString& error);
    // total: -1 with error when it could not be told.
    void counted(quint64 generation, qint64 total, const QString& error);

private:
    bool Current(quint64 generation) const { return generation >= m_latest; }

    std::unique_ptr<ArchiveDatabase> m_own;
    ArchiveDatabase* m_archive;
    std::atomic<quint64> m_latest{0};
};
