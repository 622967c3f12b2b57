#include "device/ConfigFileIO.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ConfigFile {
namespace {

// The folder that will hold fileName, for the temporary file and its fsync.
std::string FolderOf(const std::string& fileName)
{
    std::string copy = fileName;
    return dirname(copy.data());
}

// A symbolic link is saved through: the file it points at is replaced, the link stays.
std::string ResolveTarget(const std::string& fileName)
{
    struct stat st;
    if (lstat(fileName.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(fileName.c_str(), resolved))
            return resolved;
    }
    return fileName;
}

mode_t NewFileMode(const std::string& target)
{
    struct stat st;
    if (stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

int WriteAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace

int Save(const TZorvexSettings& settings, const std::string& fileName)
{
    const Bytes bytes = Build(settings);
    const std::string target = ResolveTarget(fileName);
    std::string temp = target + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return errno;

    int error = 0;
    if (fchmod(fd, NewFileMode(target)) != 0)
        error = errno;
    if (!error)
        error = WriteAll(fd, bytes.data(), bytes.size());
    if (!error && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    if (!error && rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error) {
        unlink(temp.c_str());
        return error;
    }
    // Make the rename itself durable; a failure here no longer endangers either file.
    const int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return 0;
}

int Read(const std::string& fileName, Bytes& bytes)
{
    bytes.fill(0);
    int error = 0;
    std::size_t got = 0;
    const int fd = open(fileName.c_str(), O_RDONLY);
    if (fd < 0) {
        error = errno;
    } else {
        while (got < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                error = errno;
                break;
            }
            if (n == 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        if (close(fd) != 0 && !error)
            error = errno;
    }
    if (got < bytes.size())
        return FileSizeError;
    if (error)
        return error;
    return Check(bytes);
}

int Load(TZorvexSettings& settings, const std::string& fileName, const ConfirmLoad& confirm)
{
    Bytes bytes;
    if (const int status = Read(fileName, bytes))
        return status;
    if (confirm && !confirm(Record0Text(bytes)))
        return 0;
    Apply(bytes, settings);
    return 0;
}

} // namespace ConfigFile
