#pragma once

#include "archive/ArchiveDatabase.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The archive's tables, and the steps that bring an archive written by an older program
// to this one's. Table zvx_schema keeps the version; each step runs with its version
// number in one transaction, so an archive is at one version or the next, never between
// (on PostgreSQL under an advisory lock: two programs opening an old archive at once
// upgrade it once). Forward steps only: an archive of a newer program is refused and
// left as it is, and so is a database that holds tables of another program.
//
// Calls return false with the reason in Error(), in the user's words; they never throw.
// The thread that opened the connection.
class ArchiveSchema
{
public:
    // The version Upgrade brings the tables to.
    static constexpr int Version = 4;

    // db: an open connection to target (for the messages), which must outlive this object.
    ArchiveSchema(QSqlDatabase& db, ArchiveDatabase::Kind kind, const QString& target);

    // Whether the database can be taken as an archive, found out by reading only: it is
    // empty, or ours at this version or an older one.
    bool Inspect();
    // Whether the last Inspect found the tables at Version already: nothing to upgrade.
    bool UpToDate() const { return m_version == Version; }
    // Brings the tables to Version (creating them in an empty database).
    bool Upgrade();
    const QString& Error() const { return m_error; }
    // Whether the last Inspect or Upgrade refused the database as no archive of this
    // program's: another program's tables, or a newer program's archive.
    bool Foreign() const { return m_foreign; }

    // The statements of one step (1: the first tables), for the tests that build an old
    // archive.
    static QStringList Migration(ArchiveDatabase::Kind kind, int version);

private:
    // The version the tables are at, 0 in an empty database; nothing (Error says why) for
    // a database that is not an archive or is a newer program's.
    std::optional<int> StoredVersion();
    bool Steps();
    QStringList Tables();
    bool FillSearchText();
    void IndexSearchText();
    bool Fail(const QString& what);
    bool Fail(const QString& what, const QSqlQuery& query);

    QSqlDatabase& m_db;
    ArchiveDatabase::Kind m_kind;
    QString m_target;
    QString m_error;
    bool m_foreign = false;
    int m_version = -1; // found by the last Inspect
};
