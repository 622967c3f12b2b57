#include "tools/LogFileOpen.h"

#include "device/FileNames.h"
#include "device/MessageFormat.h"
#include "resources/ConstsZVX.h"

#include <QDir>

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

// Whether name is one of files: the same file when both are there, the same path when
// the log is yet to be made.
bool IsOneOf(const QString& name, const struct stat* existing, const QStringList& files)
{
    const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(name));
    for (const QString& file : files) {
        struct stat st
        {
        };
        if (existing && ::stat(FileNameBytes(file).c_str(), &st) == 0 &&
            st.st_dev == existing->st_dev && st.st_ino == existing->st_ino)
            return true;
        if (QDir::cleanPath(QDir::current().absoluteFilePath(file)) == path)
            return true;
    }
    return false;
}

} // namespace

int OpenLogFile(const QString& target, const QStringList& files, QString& problem)
{
    const std::string name = FileNameBytes(target);
    const QString shown = PrintableText(target);
    struct stat st
    {
    };
    const bool exists = ::lstat(name.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) {
        problem = FormatMessage(ConstsZVX::LogOpenError, {shown, SystemReason(errno)});
        return -1;
    }
    if (IsOneOf(target, exists ? &st : nullptr, files)) {
        problem = FormatMessage(ConstsZVX::LogIsInput, {shown});
        return -1;
    }
    // A link, a device, a FIFO, a folder or another user's file: never opened at all.
    if (exists && (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid())) {
        problem = FormatMessage(ConstsZVX::LogNotOwnFile, {shown});
        return -1;
    }
    const int flags = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const int fd =
        exists ? ::open(name.c_str(), flags) : ::open(name.c_str(), flags | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        problem = FormatMessage(ConstsZVX::LogOpenError, {shown, SystemReason(errno)});
        return -1;
    }
    // What was checked is what was opened (nothing put in its place meanwhile), and
    // nobody else reads what follows.
    struct stat opened
    {
    };
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_uid != ::geteuid() ||
        (exists && (opened.st_dev != st.st_dev || opened.st_ino != st.st_ino))) {
        ::close(fd);
        problem = FormatMessage(ConstsZVX::LogNotOwnFile, {shown});
        return -1;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (::fchmod(fd, 0600) != 0 || ::ftruncate(fd, 0) != 0 || status < 0 ||
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(fd);
        problem = FormatMessage(ConstsZVX::LogOpenError, {shown, SystemReason(error)});
        return -1;
    }
    return fd;
}
