#pragma once

#include "archive/ArchiveDatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

// Where the archive tests keep their archives: a SQLite file in a temporary folder, or
// the PostgreSQL server that ZVX_TEST_PG names (a libpq connection string; .ci/run
// starts a throw-away one), emptied first.
struct ArchivePlace
{
    ArchiveDatabase::Kind kind = ArchiveDatabase::Kind::SQLite;
    QString target;
};

inline QString PostgresTarget()
{
    return qEnvironmentVariable("ZVX_TEST_PG");
}

// Drops the archive's tables from the test server: every test starts from nothing.
inline bool EmptyPostgres(const QString& target)
{
    const QString name = QStringLiteral("zvx-test-empty");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(target);
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("DROP TABLE IF EXISTS zvx_entries, zvx_schema, other"));
            if (!ok)
                qWarning() << q.lastError().text();
        } else {
            qWarning() << db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Rows "sqlite" and "postgresql" of a test's data table.
inline void AddBackendColumn()
{
    QTest::addColumn<int>("backend");
}

// The place for this row; skips a PostgreSQL row when there is no server.
#define ZVX_ARCHIVE_PLACE(place, dir)                                                              \
    QFETCH(int, backend);                                                                          \
    ArchivePlace place;                                                                            \
    if (backend == 0) {                                                                            \
        place.target = (dir).filePath(QStringLiteral("archiwum.sqlite"));                          \
    } else {                                                                                       \
        place.kind = ArchiveDatabase::Kind::PostgreSQL;                                            \
        place.target = PostgresTarget();                                                           \
        if (place.target.isEmpty())                                                                \
            QSKIP("no PostgreSQL server: set ZVX_TEST_PG to a libpq connection string "            \
                  "(.ci/run starts one)");                                                         \
        QVERIFY(EmptyPostgres(place.target));                                                      \
    }

// Runs work on a connection of its own to the place's database, as another program would
// (to build an old archive, or to look at the rows themselves); false when it cannot
// connect or work fails.
inline bool OnOwnConnection(const ArchivePlace& place,
                            const std::function<bool(QSqlDatabase& db)>& work)
{
    const QString name = QStringLiteral("zvx-test-own");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(ArchiveDriverName(place.kind), name);
        if (place.kind == ArchiveDatabase::Kind::SQLite)
            db.setDatabaseName(place.target);
        else
            db.setConnectOptions(place.target);
        ok = db.open() && work(db);
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Runs each statement in turn; false (with the failing one and its reason) at the first
// that fails.
inline bool ExecAll(QSqlDatabase& db, const QStringList& statements)
{
    QSqlQuery q(db);
    for (const QString& statement : statements) {
        if (!q.exec(statement)) {
            qWarning() << statement << q.lastError().text();
            return false;
        }
    }
    return true;
}
