#include "app/archive/ArchiveListModel.h"

#include "app/archive/ArchiveListReader.h"

#include <QThread>

namespace {

constexpr ArchiveOrder kOrderOf[ArchiveListModel::ColumnCount] = {
    ArchiveOrder::Site, ArchiveOrder::Address, ArchiveOrder::Event, ArchiveOrder::Outcome,
    ArchiveOrder::Time, ArchiveOrder::Source,  ArchiveOrder::User,
};

QString SourceOf(const ArchiveEntry& e)
{
    return e.fileName.isEmpty() ? e.port : e.fileName;
}

} // namespace

ArchiveListModel::ArchiveListModel(ArchiveDatabase& archive, QObject* parent)
    : QAbstractTableModel(parent),
      m_reader(ReadOffThread ? new ArchiveListReader(archive.GetKind(), archive.Target())
                             : new ArchiveListReader(archive))
{
    m_query.order = ArchiveOrder::Time;
    m_query.ascending = false;
    if (ReadOffThread) {
        m_thread = new QThread(this);
        m_thread->setObjectName(QStringLiteral("archive-list"));
        m_reader->moveToThread(m_thread);
        m_thread->start();
    } else {
        m_reader->setParent(this);
    }
    // Queued from the reader's thread, direct on this one.
    connect(m_reader, &ArchiveListReader::pageRead, this, &ArchiveListModel::PageRead);
    connect(m_reader, &ArchiveListReader::counted, this, &ArchiveListModel::Counted);
}

ArchiveListModel::~ArchiveListModel()
{
    if (!m_thread)
        return;
    // A read under way is broken off (it would otherwise run to its own time limit), its
    // connection closed on its own thread, then the thread ends.
    m_reader->Supersede(++m_generation);
    m_reader->Abort();
    QMetaObject::invokeMethod(
        m_reader, [reader = m_reader] { reader->Close(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_reader;
}

void ArchiveListModel::SetFilter(const ArchiveQuery& filter)
{
    m_query.text = filter.text;
    m_query.event = filter.event;
    m_query.since = filter.since;
    m_query.until = filter.until;
    Reload();
}

void ArchiveListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_query.order = kOrderOf[column];
    m_query.ascending = order == Qt::AscendingOrder;
    Reload();
}

void ArchiveListModel::Reload()
{
    beginResetModel();
    m_entries.clear();
    m_listed.clear();
    m_query.offset = 0;
    m_total.reset();
    m_exhausted = false;
    m_error.clear();
    m_reading = false;
    m_counting = false;
    m_reader->Supersede(++m_generation);
    endResetModel();
    Load();
}

void ArchiveListModel::Load()
{
    ArchiveQuery page = m_query;
    page.limit = PageSize;
    // Only a full first page asks how many match in all: a second pass over a search that
    // can cost more than the page itself, told after the page is shown.
    const bool count = page.offset == 0;
    m_reading = true;
    m_counting = count;
    if (!m_thread) {
        m_reader->Read(m_generation, page, count);
        return;
    }
    QMetaObject::invokeMethod(
        m_reader,
        [reader = m_reader, generation = m_generation, page, count] {
            reader->Read(generation, page, count);
        },
        Qt::QueuedConnection);
}

void ArchiveListModel::PageRead(quint64 generation, const QList<ArchiveEntry>& found,
                                const QString& error)
{
    if (generation != m_generation)
        return;
    m_reading = false;
    if (!error.isEmpty()) {
        m_error = error;
        m_exhausted = true;
        m_counting = false;
        emit loaded();
        return;
    }
    m_exhausted = found.size() < PageSize;
    if (m_query.offset == 0 && m_exhausted) {
        m_total = found.size(); // a short first page is all there is
        m_counting = false;
    }
    m_query.offset += int(found.size());
    QList<ArchiveEntry> fresh;
    for (const ArchiveEntry& e : found)
        if (!m_listed.contains(e.id)) {
            m_listed.insert(e.id);
            fresh.append(e);
        }
    if (!fresh.isEmpty()) {
        beginInsertRows({}, int(m_entries.size()), int(m_entries.size() + fresh.size()) - 1);
        m_entries.append(fresh);
        endInsertRows();
    }
    emit loaded();
}

void ArchiveListModel::Counted(quint64 generation, qint64 total, const QString& error)
{
    if (generation != m_generation)
        return;
    m_counting = false;
    if (total < 0) {
        m_error = error;
        m_exhausted = true;
    } else {
        m_total = total;
    }
    emit loaded();
}

bool ArchiveListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_exhausted && !m_reading &&
           (!m_total || m_query.offset < *m_total);
}

void ArchiveListModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        Load();
}

int ArchiveListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int ArchiveListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ArchiveListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const ArchiveEntry& e = m_entries[index.row()];
    if (role == Qt::ToolTipRole && index.column() == Source)
        return SourceOf(e); // the whole path, which the column may elide
    if (role != Qt::DisplayRole)
        return {};
    switch (Column(index.column())) {
    case Site:
        return e.site;
    case Address:
        return e.address;
    case Event:
        return e.EventText();
    case Outcome:
        return e.succeeded ? QStringLiteral("OK") : e.outcome;
    case Time:
        return e.LocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Source:
        return SourceOf(e);
    case User:
        return e.user + QLatin1Char('@') + e.host;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant ArchiveListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    // A click on "Data" lists the newest first; on the others, A to Z.
    if (role == Qt::InitialSortOrderRole && section == Time)
        return int(Qt::DescendingOrder);
    if (role != Qt::DisplayRole)
        return {};
    static const char* const captions[ColumnCount] = {
        "Obiekt", "Adres", "Zdarzenie", "Wynik", "Data", "Plik lub port", "Użytkownik",
    };
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(captions[section])
                                                 : QVariant();
}
