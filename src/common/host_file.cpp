#include "common/host_file.h"

#include <system_error>

#ifdef _WIN32
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#endif

#ifdef __linux__
#include <linux/openat2.h>
#include <sys/syscall.h>
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
    return HostFile(std::move(handle), size, FileId{});
}

std::optional<HostFile> HostFile::OpenBelow(const HostFolder&, const std::filesystem::path&) {
    return std::nullopt;
}

std::optional<FileId> HostFile::IdOf(const std::filesystem::path&, bool) {
    return FileId{};
}

std::shared_ptr<const HostFolder> HostFolder::Open(const std::filesystem::path&) {
    return nullptr;
}

HostFolder::~HostFolder() = default;

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

// Without blocking, so that opening a pipe returns at once; the type is
// checked on the open file, which saves a look-up by name.
constexpr int kReadFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

std::optional<HostFile> HostFile::FromOpened(std::unique_ptr<Handle> handle) {
    if (handle->fd < 0) return std::nullopt;
    struct stat status {};
    if (::fstat(handle->fd, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return HostFile(
        std::move(handle), static_cast<uint64_t>(status.st_size),
        FileId{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)});
}

std::optional<HostFile> HostFile::Open(const std::filesystem::path& path) {
    auto handle = std::make_unique<Handle>();
    handle->fd = ::open(path.c_str(), kReadFlags);
    return FromOpened(std::move(handle));
}

std::optional<FileId> HostFile::IdOf(const std::filesystem::path& path, bool followLink) {
    struct stat status {};
    const int result = followLink ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status);
    if (result != 0) return std::nullopt;
    return FileId{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

#ifdef __linux__

std::optional<HostFile> HostFile::OpenBelow(const HostFolder& folder,
                                            const std::filesystem::path& relative) {
    open_how how{};
    how.flags = static_cast<uint64_t>(kReadFlags);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    auto handle = std::make_unique<Handle>();
    handle->fd =
        static_cast<int>(::syscall(SYS_openat2, folder.fd_, relative.c_str(), &how, sizeof how));
    return FromOpened(std::move(handle));
}

std::shared_ptr<const HostFolder> HostFolder::Open(const std::filesystem::path& path) {
    const int fd = ::open(path.empty() ? "." : path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    std::shared_ptr<const HostFolder> folder(new HostFolder(fd));
    // A kernel without openat2 opens nothing below the folder.
    open_how how{};
    how.flags = O_PATH | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH;
    const int probe = static_cast<int>(::syscall(SYS_openat2, fd, ".", &how, sizeof how));
    if (probe < 0) return nullptr;
    ::close(probe);
    return folder;
}

#else

std::optional<HostFile> HostFile::OpenBelow(const HostFolder&, const std::filesystem::path&) {
    return std::nullopt;
}

std::shared_ptr<const HostFolder> HostFolder::Open(const std::filesystem::path&) {
    return nullptr;
}

#endif

HostFolder::~HostFolder() {
    if (fd_ >= 0) ::close(fd_);
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

#ifdef __linux__

std::optional<FolderStamp> StampFolder(const std::filesystem::path& folder) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
    const auto nanoseconds = [](const timespec& t) {
        return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
    };
    return FolderStamp{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
                       nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
}

int64_t HostClockNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

#else

std::optional<FolderStamp> StampFolder(const std::filesystem::path&) {
    return std::nullopt;
}

int64_t HostClockNow() {
    return 0;
}

#endif

HostFile::HostFile(std::unique_ptr<Handle> handle, uint64_t size, FileId id)
    : handle_(std::move(handle)), size_(size), id_(id) {}

HostFile::HostFile(HostFile&& other) noexcept = default;
HostFile& HostFile::operator=(HostFile&& other) noexcept = default;

}  // namespace venuecheck
