#include "archive/ArchiveFileAccess.h"

#include "archive/ArchiveSql.h"

#include "resources/ConstsZVX.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString CannotOpen(const QString& path, int error)
{
    return QStringLiteral("Nie można otworzyć archiwum: %1 (%2)").arg(path, SystemReason(error));
}

// Creates folder and every missing folder above it with mode 0700.
bool MakeFolders(const QString& folder, QString& error)
{
    const QStringList parts = QDir::cleanPath(folder).split(u'/');
    QString path;
    for (const QString& part : parts) {
        path += part.isEmpty() && path.isEmpty() ? QStringLiteral("/") : part + u'/';
        const QByteArray name = QFile::encodeName(path);
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
            error = QStringLiteral("Nie można utworzyć folderu archiwum: %1 (%2)")
                        .arg(folder, SystemReason(errno));
            return false;
        }
    }
    return true;
}

// A file or folder of the archive as it stands: refused when another user owns it,
// tightened to mode when others may reach it.
bool Own(const QString& path, const struct stat& st, int fd, mode_t mode, QString& error)
{
    if (st.st_uid != ::geteuid()) {
        error = ArchiveSql::Message(ConstsZVX::ArchiveFileForeign, {path});
        return false;
    }
    if ((st.st_mode & 077) == 0)
        return true;
    const QByteArray name = QFile::encodeName(path);
    if ((fd >= 0 ? ::fchmod(fd, mode) : ::chmod(name.constData(), mode)) != 0) {
        error = CannotOpen(path, errno);
        return false;
    }
    return true;
}

} // namespace

namespace ArchiveFileAccess {

QString ProgramDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zorvex");
}

Outcome Prepare(const QString& path, QString& error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!MakeFolders(folder, error))
        return Outcome::Refused;
    if (QDir::cleanPath(folder) == QDir::cleanPath(ProgramDataFolder())) {
        struct stat st
        {
        };
        const QByteArray name = QFile::encodeName(folder);
        if (::stat(name.constData(), &st) != 0) {
            error = CannotOpen(folder, errno);
            return Outcome::Refused;
        }
        if (!Own(folder, st, -1, 0700, error))
            return Outcome::Refused;
    }
    // Never opening a device, never waiting on a FIFO: what is not a regular file is
    // refused before it is opened (and again once it is, should it have been replaced).
    const QByteArray name = QFile::encodeName(path);
    if (struct stat before{}; ::stat(name.constData(), &before) == 0 && !S_ISREG(before.st_mode)) {
        error = ArchiveSql::Message(ConstsZVX::ArchiveFileNotRegular, {path});
        return Outcome::NotRegular;
    }
    const int fd =
        ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600);
    if (fd < 0) {
        if (errno == EISDIR) {
            error = ArchiveSql::Message(ConstsZVX::ArchiveFileNotRegular, {path});
            return Outcome::NotRegular;
        }
        error = CannotOpen(path, errno);
        return Outcome::Refused;
    }
    struct stat st
    {
    };
    Outcome outcome = Outcome::Ready;
    if (::fstat(fd, &st) != 0) {
        error = CannotOpen(path, errno);
        outcome = Outcome::Refused;
    } else if (!S_ISREG(st.st_mode)) {
        error = ArchiveSql::Message(ConstsZVX::ArchiveFileNotRegular, {path});
        outcome = Outcome::NotRegular;
    } else if (!Own(path, st, fd, 0600, error)) {
        outcome = Outcome::Refused;
    }
    ::close(fd);
    if (outcome != Outcome::Ready)
        return outcome;
    // SQLite's own files beside it take the archive's mode only when it makes them.
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const QString companion = path + QLatin1String(suffix);
        const QByteArray companionName = QFile::encodeName(companion);
        if (::lstat(companionName.constData(), &st) != 0)
            continue;
        if (!S_ISREG(st.st_mode)) {
            error = ArchiveSql::Message(ConstsZVX::ArchiveFileNotRegular, {companion});
            return Outcome::NotRegular;
        }
        if (!Own(companion, st, -1, 0600, error))
            return Outcome::Refused;
    }
    return Outcome::Ready;
}

} // namespace ArchiveFileAccess
