#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file that lives in memory only (memfd), reached through a path, so that code which
// opens files by name can be fed one input after another without touching the disk.
class MemoryFile
{
public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Replaces the contents with size bytes.
    void Set(const std::uint8_t* data, std::size_t size);
    // "/proc/self/fd/N": opening it opens the file afresh, at offset 0.
    const std::string& Path() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_path;
};
