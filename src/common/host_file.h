#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace venuecheck {

// A regular file of the host, open for reading from its start and closed
// when the object goes. Only regular files are opened: a folder, a pipe or a
// device is never read, so nothing can block or run without end.
class HostFile {
public:
    // None when the path does not name a regular file that can be opened for
    // reading.
    static std::optional<HostFile> Open(const std::filesystem::path& path);

    // For a path already known to name a regular file: true when it can be
    // opened for reading, found out without opening it where the host can.
    static bool Readable(const std::filesystem::path& path);

    HostFile(HostFile&& other) noexcept;
    HostFile& operator=(HostFile&& other) noexcept;
    HostFile(const HostFile&) = delete;
    HostFile& operator=(const HostFile&) = delete;
    ~HostFile();

    // The length of the file when it was opened.
    uint64_t Size() const { return size_; }

    // Reads up to `count` bytes into the buffer; fewer only at the end of the
    // file or when reading fails. Returns the number of bytes read.
    size_t Read(char* buffer, size_t count);

private:
    struct Handle;
    HostFile(std::unique_ptr<Handle> handle, uint64_t size);

    std::unique_ptr<Handle> handle_;
    uint64_t size_ = 0;
};

}  // namespace venuecheck
