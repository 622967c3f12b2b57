#include "archive/DriverHandle.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include <dirent.h>
#include <dlfcn.h>
#include <stddef.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The native handle the driver keeps ("sqlite3*", "PGconn*"), or nullptr.
void* NativeHandle(const QSqlDatabase& db, const char* type)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), type) != 0)
        return nullptr;
    return *static_cast<void* const*>(handle.constData());
}

// A function of the client library the driver's plugin was linked with (or carries):
// looked up from the plugin itself, found through the driver object's virtual table,
// which lives in the plugin.
void* DriverSymbol(const QSqlDatabase& db, const char* name)
{
    const QSqlDriver* driver = db.driver();
    if (!driver)
        return nullptr;
    Dl_info info{};
    if (::dladdr(*reinterpret_cast<void* const*>(driver), &info) == 0 || !info.dli_fname)
        return nullptr;
    void* plugin = ::dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (!plugin)
        return nullptr;
    void* symbol = ::dlsym(plugin, name);
    ::dlclose(plugin); // the driver still holds it
    return symbol;
}

// The sockets this process holds now: descriptor -> the socket's inode, from /proc.
std::map<int, std::string> OpenSockets()
{
    std::map<int, std::string> sockets;
    DIR* fds = ::opendir("/proc/self/fd");
    if (!fds)
        return sockets;
    while (const dirent* entry = ::readdir(fds)) {
        char target[64] = {};
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t size = ::readlink(link.c_str(), target, sizeof target - 1);
        if (size > 7 && std::strncmp(target, "socket:", 7) == 0)
            sockets[std::atoi(entry->d_name)] = std::string(target, std::size_t(size));
    }
    ::closedir(fds);
    return sockets;
}

// Whether fd is a stream socket toward a database server: TCP, or a local socket whose
// peer is PostgreSQL's (".../.s.PGSQL.5432").
bool TowardServer(int fd)
{
    int type = 0;
    socklen_t size = sizeof type;
    if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &size) != 0 || type != SOCK_STREAM)
        return false;
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return false;
    if (peer.ss_family == AF_INET || peer.ss_family == AF_INET6)
        return true;
    if (peer.ss_family != AF_UNIX)
        return false;
    const auto* local = reinterpret_cast<const sockaddr_un*>(&peer);
    const std::size_t pathSize = length > offsetof(sockaddr_un, sun_path)
                                     ? std::size_t(length) - offsetof(sockaddr_un, sun_path)
                                     : 0;
    return std::string(local->sun_path, ::strnlen(local->sun_path, pathSize)).find("/.s.PGSQL.") !=
           std::string::npos;
}

} // namespace

namespace DriverHandle {

bool KeepLogOnClose(const QSqlDatabase& db)
{
    void* handle = NativeHandle(db, "sqlite3*");
    // int sqlite3_db_config(sqlite3*, int op, ...); SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE is
    // 1006 since SQLite 3.16: an older library answers SQLITE_ERROR and changes nothing.
    using Config = int (*)(void*, int, ...);
    auto config = reinterpret_cast<Config>(DriverSymbol(db, "sqlite3_db_config"));
    if (!handle || !config)
        return false;
    int set = 0;
    return config(handle, 1006, 1, &set) == 0 && set == 1;
}

std::function<void()> Breaker(const QSqlDatabase& db)
{
    if (void* sqlite = NativeHandle(db, "sqlite3*")) {
        using Interrupt = void (*)(void*);
        auto interrupt = reinterpret_cast<Interrupt>(DriverSymbol(db, "sqlite3_interrupt"));
        if (!interrupt)
            return {};
        return [interrupt, sqlite] { interrupt(sqlite); };
    }
    if (void* pg = NativeHandle(db, "PGconn*")) {
        using Socket = int (*)(const void*);
        auto socketOf = reinterpret_cast<Socket>(DriverSymbol(db, "PQsocket"));
        const int fd = socketOf ? socketOf(pg) : -1;
        if (fd < 0)
            return {};
        // The descriptor stays libpq's: shut down, never closed, so that libpq's own
        // close later is the only one.
        return [fd] { ::shutdown(fd, SHUT_RDWR); };
    }
    return {};
}

std::function<void()> ConnectingBreaker()
{
    return [before = OpenSockets()] {
        for (const auto& [fd, socket] : OpenSockets()) {
            const auto known = before.find(fd);
            if ((known == before.end() || known->second != socket) && TowardServer(fd))
                ::shutdown(fd, SHUT_RDWR);
        }
    };
}

QString MissingDriverText(const QString& driver, bool postgres)
{
    return QStringLiteral("Brak sterownika bazy danych %1 (pakiet %2)")
        .arg(driver, postgres ? QStringLiteral("libqt6sql6-psql")
                              : QStringLiteral("libqt6sql6-sqlite"));
}

} // namespace DriverHandle
