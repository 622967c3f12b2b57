#include "device/ConfigFileIO.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ConfigFile {
namespace {

// Links followed before a chain counts as a loop (the kernel's own limit).
constexpr int kMaxLinks = 40;
// The temporary name's tail: "." and mkstemp's six characters.
constexpr std::size_t kTempTail = 7;

// The folder part of a path, "." for a bare name; kept as given (no resolving), so the
// temporary file and the fsync land beside the target.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links from fileName to the path a save replaces or creates.
Result ResolveTarget(const std::string& fileName, std::string& target, bool& exists)
{
    // What the kernel reaches through every link first: /dev/stdout on a pipe leads
    // through /proc's links to "pipe:[N]", which no path names.
    struct stat final;
    if (stat(fileName.c_str(), &final) == 0) {
        if (S_ISDIR(final.st_mode))
            return Result::System(EISDIR);
        if (!S_ISREG(final.st_mode))
            return NotRegular;
    }
    target = fileName;
    for (int links = 0;; ++links) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return Result::System(errno);
            exists = false;
            return Success;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            if (S_ISDIR(st.st_mode))
                return Result::System(EISDIR);
            if (!S_ISREG(st.st_mode))
                return NotRegular;
            return Success;
        }
        if (links == kMaxLinks)
            return Result::System(ELOOP);
        char points[PATH_MAX];
        const ssize_t size = readlink(target.c_str(), points, sizeof points);
        if (size < 0)
            return Result::System(errno);
        if (static_cast<std::size_t>(size) >= sizeof points)
            return Result::System(ENAMETOOLONG);
        const std::string next(points, static_cast<std::size_t>(size));
        target = next.front() == '/' ? next : FolderOf(target) + '/' + next;
    }
}

// The target and the check of CheckSave.
Result PrepareSave(const std::string& fileName, std::string& target)
{
    if (fileName.empty())
        return Result::System(ENOENT);
    bool exists = false;
    if (const Result resolved = ResolveTarget(fileName, target, exists); !resolved.Ok())
        return resolved;
    // A file nobody may write ("chmod a-w") is kept from the save, root's too: the
    // rename would replace it although the kernel lets root write anything. Otherwise
    // the effective ids decide, as the kernel checks them when it writes the file.
    if (exists) {
        struct stat st;
        if (stat(target.c_str(), &st) == 0 && (st.st_mode & 0222) == 0)
            return Result::System(EACCES);
        if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return Result::System(errno);
    }
    if (faccessat(AT_FDCWD, FolderOf(target).c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return Result::System(errno);
    return Success;
}

// "<name>.XXXXXX" beside the target, the name cut to fit the folder's longest name.
std::string TempTemplate(const std::string& target)
{
    const std::string folder = FolderOf(target);
    const std::string name = NameOf(target);
    long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
    if (longest <= 0)
        longest = NAME_MAX;
    const std::size_t keep = std::min(name.size(), static_cast<std::size_t>(longest) - kTempTail);
    return target.substr(0, target.size() - name.size()) + name.substr(0, keep) + ".XXXXXX";
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

Result CheckSave(const std::string& fileName)
{
    std::string target;
    return PrepareSave(fileName, target);
}

Result Save(const TZorvexSettings& settings, const std::string& fileName)
{
    std::string target;
    if (const Result ready = PrepareSave(fileName, target); !ready.Ok())
        return ready;
    const Bytes bytes = Build(settings);
    std::string temp = TempTemplate(target);
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return Result::System(errno);

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
        return Result::System(error);
    }
    // Make the rename itself durable; a failure here no longer endangers either file.
    const int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return Success;
}

Result Read(const std::string& fileName, Bytes& bytes)
{
    bytes.fill(0);
    const int fd = open(fileName.c_str(), O_RDONLY);
    if (fd < 0)
        return Result::System(errno);
    int error = 0;
    std::size_t got = 0;
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
    // The system's reason comes first: a file that cannot be read is not a short one.
    if (error)
        return Result::System(error);
    if (got < bytes.size())
        return FileSizeError;
    return Check(bytes);
}

Result Load(TZorvexSettings& settings, const std::string& fileName, const ConfirmLoad& confirm)
{
    Bytes bytes;
    if (const Result status = Read(fileName, bytes); !status.Ok())
        return status;
    if (confirm && !confirm(Record0Text(bytes)))
        return Success;
    Apply(bytes, settings);
    return Success;
}

} // namespace ConfigFile
