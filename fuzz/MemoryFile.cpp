#include "fuzz/MemoryFile.h"

#include "fuzz/FuzzCheck.h"

#include <sys/mman.h>
#include <unistd.h>

MemoryFile::MemoryFile()
{
    m_fd = memfd_create("zvx-fuzz", MFD_CLOEXEC);
    FUZZ_CHECK(m_fd >= 0);
    m_path = "/proc/self/fd/" + std::to_string(m_fd);
}

MemoryFile::~MemoryFile()
{
    close(m_fd);
}

void MemoryFile::Set(const std::uint8_t* data, std::size_t size)
{
    FUZZ_CHECK(ftruncate(m_fd, 0) == 0);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
        FUZZ_CHECK(n > 0);
        done += static_cast<std::size_t>(n);
    }
}
