#include "archive/DriverHandle.h"

#include "resources/ConstsZVX.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <windows.h>

// The Windows program has SQLite only (no PostgreSQL client library is built for it).
namespace {

void* NativeHandle(const QSqlDatabase& db, const char* type)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), type) != 0)
        return nullptr;
    return *static_cast<void* const*>(handle.constData());
}

// A function the driver's plugin exports, found through the driver object's virtual
// table, which lives in the plugin. Qt's SQLite plugin carries SQLite inside and may
// export none of it: then the callers do without.
void* DriverSymbol(const QSqlDatabase& db, const char* name)
{
    const QSqlDriver* driver = db.driver();
    HMODULE plugin = nullptr;
    if (!driver || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                       *reinterpret_cast<const char* const*>(driver), &plugin))
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(plugin, name));
}

} // namespace

namespace DriverHandle {

bool KeepLogOnClose(const QSqlDatabase& db)
{
    void* handle = NativeHandle(db, "sqlite3*");
    using Config = int (*)(void*, int, ...);
    auto config = reinterpret_cast<Config>(DriverSymbol(db, "sqlite3_db_config"));
    if (!handle || !config)
        return false;
    int set = 0;
    return config(handle, 1006, 1, &set) == 0 && set == 1;
}

std::function<void()> Breaker(const QSqlDatabase& db)
{
    void* sqlite = NativeHandle(db, "sqlite3*");
    using Interrupt = void (*)(void*);
    auto interrupt = reinterpret_cast<Interrupt>(DriverSymbol(db, "sqlite3_interrupt"));
    if (!sqlite || !interrupt)
        return {};
    return [interrupt, sqlite] { interrupt(sqlite); };
}

std::function<void()> ConnectingBreaker()
{
    return {};
}

QString MissingDriverText(const QString& driver, bool postgres)
{
    if (postgres)
        return QString::fromUtf8(ConstsZVX::ArchivePostgresNotOnWindows);
    return QStringLiteral("Brak sterownika bazy danych %1 (plik sqldrivers\\qsqlite.dll obok "
                          "programu)")
        .arg(driver);
}

} // namespace DriverHandle
