#include "common/host_file.h"

#include <system_error>

#ifdef _WIN32
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace venuecheck {

#ifdef _WIN32

struct HostFile::Handle {
    std::filebuf file;
};

std::optional<HostFile> HostFile::Open(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const uint64_t size = std::filesystem::file_size(path, ec);
    if (ec) return std::nullopt;
    auto handle = std::make_unique<Handle>();
    // Unbuffered: every read goes straight to the file.
    handle->file.pubsetbuf(nullptr, 0);
    if (handle->file.open(path, std::ios::in | std::ios::binary) == nullptr) return std::nullopt;
    return HostFile(std::move(handle), size);
}

bool HostFile::Readable(const std::filesystem::path& path) {
    return Open(path).has_value();
}

size_t HostFile::Read(char* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        const std::streamsize got =
            handle_->file.sgetn(buffer + done, static_cast<std::streamsize>(count - done));
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

HostFile::~HostFile() = default;

#else

struct HostFile::Handle {
    int fd = -1;
    ~Handle() {
        if (fd >= 0) ::close(fd);
    }
};

std::optional<HostFile> HostFile::Open(const std::filesystem::path& path) {
    auto handle = std::make_unique<Handle>();
    // Without blocking, so that opening a pipe returns at once; the type is
    // checked on the open file, which saves a look-up by name.
    handle->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (handle->fd < 0) return std::nullopt;
    struct stat status {};
    if (::fstat(handle->fd, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return HostFile(std::move(handle), static_cast<uint64_t>(status.st_size));
}

bool HostFile::Readable(const std::filesystem::path& path) {
    return ::access(path.c_str(), R_OK) == 0;
}

size_t HostFile::Read(char* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(handle_->fd, buffer + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

HostFile::~HostFile() = default;

#endif

HostFile::HostFile(std::unique_ptr<Handle> handle, uint64_t size)
    : handle_(std::move(handle)), size_(size) {}

HostFile::HostFile(HostFile&& other) noexcept = default;
HostFile& HostFile::operator=(HostFile&& other) noexcept = default;

}  // namespace venuecheck
