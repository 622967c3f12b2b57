#pragma once

#include "archive/ArchiveDatabase.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSet>

#include <optional>

// The archive window's list: the entries that the filters match, in the order a column's
// header sets (newest first by the entry's time to begin with), read a page at a time as
// the view scrolls towards the end, and how many match in all. Entries are read without
// their images.
//
// Every read of the list from the archive happens in Load: the one place a search would
// move off the window's thread. UI thread only; the archive must outlive the model.
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

    // Lists what filter's text, event and dates match, from the first page on (its order,
    // offset and limit are the model's own).
    void SetFilter(const ArchiveQuery& filter);
    const ArchiveQuery& Query() const { return m_query; }

    const QList<ArchiveEntry>& Entries() const { return m_entries; }
    // How many entries match in all; nothing when the archive could not say.
    std::optional<qint64> Total() const { return m_total; }
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
    // Reads the next page (and, for the first, the count) and appends it.
    void Load();

    ArchiveDatabase& m_archive;
    ArchiveQuery m_query;
    QList<ArchiveEntry> m_entries;
    // Entries already listed: one added at the top while the list is open moves the pages
    // down by one, and the next page's first entry is then one already shown.
    QSet<qint64> m_listed;
    std::optional<qint64> m_total;
    bool m_exhausted = false; // the last page came back short
    QString m_error;
};
