#include "settings/IniFileAccess.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IniFileAccess {
namespace {

State StateOf(const struct stat& info)
{
    if (!S_ISREG(info.st_mode))
        return State::NotRegular;
    if (info.st_size > MaxBytes)
        return State::TooLarge;
    return State::Regular;
}

State StatState(const QByteArray& path, int& error)
{
    error = 0;
    struct stat info
    {
    };
    if (::stat(path.constData(), &info) != 0) {
        error = errno;
        return error == ENOENT || error == ENOTDIR ? State::Missing : State::Unreadable;
    }
    return StateOf(info);
}

Contents Failed(State state, int error = 0)
{
    Contents contents;
    contents.state = state;
    contents.error = error;
    return contents;
}

} // namespace

Contents Read(const QString& fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    int error = 0;
    // Looked at before it is opened: opening a FIFO or a terminal has effects of its own.
    if (const State state = StatState(path, error); state != State::Regular)
        return Failed(state, error);

    // O_NONBLOCK: should a FIFO have taken the file's place since, the open does not wait
    // for a writer; fstat then refuses it.
    const int fd = ::open(path.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failed(errno == ENOENT ? State::Missing : State::Unreadable, errno);
    struct stat info
    {
    };
    State state = ::fstat(fd, &info) == 0 ? StateOf(info) : State::Unreadable;
    Contents contents;
    if (state == State::Regular) {
        // The size fstat gave plus one byte, grown to one byte more than allowed should
        // the file grow meanwhile: that byte tells a file now too large.
        contents.data.resize(qsizetype(info.st_size) + 1);
        qsizetype got = 0;
        for (;;) {
            if (got == contents.data.size()) {
                if (got > MaxBytes)
                    break;
                contents.data.resize(MaxBytes + 1);
            }
            const ssize_t n =
                ::read(fd, contents.data.data() + got, size_t(contents.data.size() - got));
            if (n == 0)
                break;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                error = errno;
                state = State::Unreadable;
                break;
            }
            got += n;
        }
        contents.data.truncate(got);
        if (state == State::Regular && got > MaxBytes)
            state = State::TooLarge;
    } else if (state == State::Unreadable) {
        error = errno;
    }
    ::close(fd);
    if (state != State::Regular)
        return Failed(state, error);
    contents.state = state;
    return contents;
}

} // namespace IniFileAccess
