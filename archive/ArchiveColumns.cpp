#include "archive/ArchiveColumns.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace {

// Qt binds a null QString as NULL; the text columns are NOT NULL.
QVariant Text(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

template <QString ArchiveEntry::*member> QVariant TextOf(const ArchiveEntry& e)
{
    return Text(e.*member);
}

template <QString ArchiveEntry::*member> void SetText(ArchiveEntry& e, const QVariant& v)
{
    e.*member = v.toString();
}

// A repeat keeps its configuration in the entry it names, not in its own row.
template <QByteArray ArchiveEntry::*member> QVariant BytesOf(const ArchiveEntry& e)
{
    return e.repeatOf != 0 ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(e.*member);
}

template <QByteArray ArchiveEntry::*member> void SetBytes(ArchiveEntry& e, const QVariant& v)
{
    e.*member = v.toByteArray();
}

struct Column
{
    const char* name;
    QVariant (*value)(const ArchiveEntry&);       // written by an INSERT; null: never
    void (*take)(ArchiveEntry&, const QVariant&); // read by a SELECT; null: never
};

const Column kColumns[] = {
    {"id", nullptr, [](ArchiveEntry& e, const QVariant& v) { e.id = v.toLongLong(); }},
    {"at_ms", [](const ArchiveEntry& e) { return QVariant(e.when.toMSecsSinceEpoch()); },
     [](ArchiveEntry& e, const QVariant& v) {
         e.when = QDateTime::fromMSecsSinceEpoch(v.toLongLong(), Qt::UTC);
     }},
    {"utc_offset", [](const ArchiveEntry& e) { return QVariant(e.utcOffset); },
     [](ArchiveEntry& e, const QVariant& v) { e.utcOffset = v.toInt(); }},
    {"event", TextOf<&ArchiveEntry::event>, SetText<&ArchiveEntry::event>},
    {"succeeded", [](const ArchiveEntry& e) { return QVariant(e.succeeded ? 1 : 0); },
     [](ArchiveEntry& e, const QVariant& v) { e.succeeded = v.toInt() != 0; }},
    {"outcome", TextOf<&ArchiveEntry::outcome>, SetText<&ArchiveEntry::outcome>},
    {"image", BytesOf<&ArchiveEntry::image>, SetBytes<&ArchiveEntry::image>},
    {"records", BytesOf<&ArchiveEntry::records>, SetBytes<&ArchiveEntry::records>},
    {"fingerprint", TextOf<&ArchiveEntry::fingerprint>, SetText<&ArchiveEntry::fingerprint>},
    {"file_name", TextOf<&ArchiveEntry::fileName>, SetText<&ArchiveEntry::fileName>},
    {"port", TextOf<&ArchiveEntry::port>, SetText<&ArchiveEntry::port>},
    {"user_name", TextOf<&ArchiveEntry::user>, SetText<&ArchiveEntry::user>},
    {"host", TextOf<&ArchiveEntry::host>, SetText<&ArchiveEntry::host>},
    {"version", TextOf<&ArchiveEntry::version>, SetText<&ArchiveEntry::version>},
    {"repeat_of",
     [](const ArchiveEntry& e) {
         return e.repeatOf != 0 ? QVariant(e.repeatOf) : QVariant(QMetaType(QMetaType::LongLong));
     },
     [](ArchiveEntry& e, const QVariant& v) { e.repeatOf = v.isNull() ? 0 : v.toLongLong(); }},
    {"site", TextOf<&ArchiveEntry::site>, SetText<&ArchiveEntry::site>},
    {"address", TextOf<&ArchiveEntry::address>, SetText<&ArchiveEntry::address>},
    // Written for the searches, never read back: it is made from the rest.
    {"search", [](const ArchiveEntry& e) { return Text(e.SearchText()); }, nullptr},
};

template <class Wanted> QString Names(Wanted wanted)
{
    QStringList names;
    for (const Column& column : kColumns)
        if (wanted(column))
            names << QString::fromLatin1(column.name);
    return names.join(QStringLiteral(", "));
}

} // namespace

namespace ArchiveColumns {

QString SelectList()
{
    static const QString list = Names([](const Column& c) { return c.take != nullptr; });
    return list;
}

QString InsertList()
{
    static const QString list = Names([](const Column& c) { return c.value != nullptr; });
    return list;
}

QString InsertPlaceholders()
{
    static const QString marks = [] {
        QStringList marks;
        for (const Column& column : kColumns)
            if (column.value)
                marks << QStringLiteral("?");
        return marks.join(QStringLiteral(", "));
    }();
    return marks;
}

void BindInsert(QSqlQuery& query, const ArchiveEntry& entry)
{
    for (const Column& column : kColumns)
        if (column.value)
            query.addBindValue(column.value(entry));
}

Reader::Reader(const QSqlQuery& query) : m_query(query)
{
    const QSqlRecord record = query.record();
    for (const Column& column : kColumns)
        m_index.append(column.take ? record.indexOf(QLatin1String(column.name)) : -1);
}

ArchiveEntry Reader::Entry() const
{
    ArchiveEntry entry;
    for (qsizetype i = 0; i < m_index.size(); ++i)
        if (m_index[i] >= 0)
            kColumns[i].take(entry, m_query.value(m_index[i]));
    return entry;
}

} // namespace ArchiveColumns
