#pragma once

#include "archive/ArchiveEntry.h"

#include <QList>
#include <QString>

class QSqlQuery;

// The columns of the archive's table zvx_entries as the queries read and write an entry:
// one list, from which the SELECT list, the INSERT list and its placeholders are made.
// Values are bound in the list's order and read back by the columns' names, so a column
// added or moved is one row of the list and nothing else.
namespace ArchiveColumns {

// "id, at_ms, ..., address": the columns an entry is read from.
QString SelectList();
// "at_ms, ..., search": the columns a new entry is written to (the database numbers it).
QString InsertList();
// "?, ?, ...": a placeholder for each column of InsertList.
QString InsertPlaceholders();
// Binds entry's values for InsertList, in its order: a repeat (repeatOf set) without an
// image and records of its own.
void BindInsert(QSqlQuery& query, const ArchiveEntry& entry);

// Reads entries from the rows of a query that selected SelectList's columns (in any
// order, among others). The columns are looked up by name once, when the reader is made
// after the query has run; a column the query lacks leaves its member as it is.
class Reader
{
public:
    explicit Reader(const QSqlQuery& query);
    // The query's current row.
    ArchiveEntry Entry() const;

private:
    const QSqlQuery& m_query;
    QList<int> m_index; // for each column of the list, its place in the query's row; -1: none
};

} // namespace ArchiveColumns
