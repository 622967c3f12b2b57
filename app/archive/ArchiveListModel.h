#pragma once

#include "archive/ArchiveDatabase.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSet>

#include <optional>

class ArchiveListReader;
class QThread;

// The archive window's list: the entries that the filters match, in the order a column's
// header sets (newest first by the entry's time to begin with), read a page at a time as
// the view scrolls towards the end, and how many match in all (told after the first
// page). Entries are read without their images.
//
// The reads run on a thread of their own when ReadOffThread is set (the program sets it;
// tests and the manual's pictures read on the window's thread, where a change of filter
// is listed before it returns). A newer filter supersedes an older one still being read.
// UI thread only; the archive must outlive the model.
class ArchiveListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Site,
        Address,
        Event,
        Outcome,
        Time,
        Source, // the file, or the port when there is none
        User,
        ColumnCount
    };
    static constexpr int PageSize = 500;

    explicit ArchiveListModel(ArchiveDatabase& archive, QObject* parent = nullptr);
    ~ArchiveListModel() override;

    // Whether models made from now on read off the window's thread.
    static inline bool ReadOffThread = false;

    // Lists what filter's text, event and dates match, from the first page on (its order,
    // offset and limit are the model's own).
    void SetFilter(const ArchiveQuery& filter);
    const ArchiveQuery& Query() const { return m_query; }

    const QList<ArchiveEntry>& Entries() const { return m_entries; }
    // How many entries match in all; nothing when the archive could not say, or has not
    // said yet.
    std::optional<qint64> Total() const { return m_total; }
    // Whether a read is under way: a page, or how many match.
    bool Reading() const { return m_reading || m_counting; }
    // Why the list is not what the archive holds (a read that failed); empty when it is.
    const QString& Error() const { return m_error; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    // A page has been read, or a read has failed: the line under the list is due.
    void loaded();

private:
    // From the first page again.
    void Reload();
    // Asks for the next page (and, for the first, the count).
    void Load();
    // What the reader found for the list of generation (an older list's finds are dropped).
    void PageRead(quint64 generation, const QList<ArchiveEntry>& found, const QString& error);
    void Counted(quint64 generation, qint64 total, const QString& error);

    ArchiveListReader* m_reader;
    QThread* m_thread = nullptr; // the reader's, when it reads off the window's thread
    quint64 m_generation = 0;
    bool m_reading = false;  // a page asked for and not yet read
    bool m_counting = false; // the count asked for and not yet told
    ArchiveQuery m_query;
    QList<ArchiveEntry> m_entries;
    // Entries already listed: one added at the top while the list is open moves the pages
    // down by one, and the next page's first entry is then one already shown.
    QSet<qint64> m_listed;
    std::optional<qint64> m_total;
    bool m_exhausted = false; // the last page came back short
    QString m_error;
};
