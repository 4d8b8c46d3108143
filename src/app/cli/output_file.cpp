#include "app/cli/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "common/host_path.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace venuecheck {
namespace {

#ifdef _WIN32

// Shared for deletion: the console's handler, on a thread of its own,
// deletes the report of a run ended from outside while it is still open.
int OpenNew(const fs::path& path) {
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
            case ERROR_FILE_EXISTS:
            case ERROR_ALREADY_EXISTS:
                errno = EEXIST;
                break;
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
                errno = ENOENT;
                break;
            case ERROR_ACCESS_DENIED:
                errno = EACCES;
                break;
            case ERROR_DISK_FULL:
                errno = ENOSPC;
                break;
            default:
                errno = EIO;
                break;
        }
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) CloseHandle(handle);
    return fd;
}
int OpenDirect(const fs::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
}
bool MayWrite(const fs::path& path) {
    return _waccess(path.c_str(), 2) == 0;
}
long WriteSome(int fd, const char* data, size_t size) {
    return _write(fd, data, static_cast<unsigned>(size < (1u << 30) ? size : (1u << 30)));
}
int SyncFile(int fd) {
    return _commit(fd);
}
int CloseFile(int fd) {
    return _close(fd);
}
int ProcessId() {
    return _getpid();
}
void KeepMode(int, const fs::path&) {}

#else

int OpenNew(const fs::path& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
int OpenDirect(const fs::path& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}
bool MayWrite(const fs::path& path) {
    return access(path.c_str(), W_OK) == 0;
}
long WriteSome(int fd, const char* data, size_t size) {
    return write(fd, data, size);
}
int SyncFile(int fd) {
    return fsync(fd);
}
int CloseFile(int fd) {
    return close(fd);
}
int ProcessId() {
    return static_cast<int>(getpid());
}
// The new report keeps the permissions of the file it replaces.
void KeepMode(int fd, const fs::path& old) {
    struct stat st {};
    if (stat(old.c_str(), &st) == 0) fchmod(fd, st.st_mode & 07777);
}

#endif

}  // namespace

DescriptorBuffer::DescriptorBuffer(int fd) : fd_(fd), buffer_(1 << 16) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c) {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int DescriptorBuffer::sync() {
    return Drain() ? 0 : -1;
}

bool DescriptorBuffer::Drain() {
    const char* at = pbase();
    while (error_ == 0 && at < pptr()) {
        const long n = WriteSome(fd_, at, static_cast<size_t>(pptr() - at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = n < 0 ? errno : EIO;
            break;
        }
        at += n;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

OutputFile::OutputFile(const fs::path& target, RunFiles& files) : target_(target), files_(files) {
    std::error_code ec;
    const fs::file_type type = fs::symlink_status(target_, ec).type();
    if (type != fs::file_type::regular && type != fs::file_type::not_found) {
        fd_ = OpenDirect(target_);
        if (fd_ < 0) Fail(errno);
        buffer_.SetDescriptor(fd_);
        return;
    }
    // Replacing a file that may not be written would get round its
    // permissions.
    if (type == fs::file_type::regular && !MayWrite(target_)) {
        Fail(errno);
        return;
    }
    const std::string stem = ".venuecheck-" + std::to_string(ProcessId());
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        fs::path temporary = target_;
        std::string suffix = stem;
        if (attempt > 0) {
            suffix += '-';
            suffix += std::to_string(attempt);
        }
        suffix += ".tmp";
        temporary += suffix;
        const RunFiles::Guard guard(&files_);
        fd_ = OpenNew(temporary);
        error = fd_ < 0 ? errno : 0;
        if (fd_ >= 0) {
            files_.Enter(temporary);
            temporary_ = std::move(temporary);
        }
    }
    if (fd_ < 0) {
        Fail(error);
        return;
    }
    if (type == fs::file_type::regular) KeepMode(fd_, target_);
    buffer_.SetDescriptor(fd_);
}

OutputFile::~OutputFile() {
    DiscardReport();
}

void OutputFile::Fail(int error) {
    Fail(std::strerror(error));
}

void OutputFile::Fail(const std::string& why) {
    if (error_.empty()) error_ = "cannot write '" + GameName(target_) + "': " + why;
}

void OutputFile::DiscardReport() {
    if (fd_ >= 0) CloseFile(fd_);
    fd_ = -1;
    if (!temporary_) return;
    const RunFiles::Guard guard(&files_);
    std::error_code ec;
    fs::remove(*temporary_, ec);
    files_.Leave(*temporary_);
    temporary_.reset();
}

bool OutputFile::Commit() {
    if (fd_ < 0) return false;
    stream_.flush();
    if (buffer_.Error() != 0 || !stream_) Fail(buffer_.Error() != 0 ? buffer_.Error() : EIO);
    // Only a file on disk can be synced; the whole report is on disk before
    // it takes the old one's place.
    if (error_.empty() && temporary_ && SyncFile(fd_) != 0) Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (CloseFile(fd) != 0 && errno != EINTR) Fail(errno);
    if (!error_.empty()) {
        DiscardReport();
        return false;
    }
    if (!temporary_) return true;
    const RunFiles::Guard guard(&files_);
    std::error_code ec;
    fs::rename(*temporary_, target_, ec);
    if (ec) {
        Fail(ec.message());
        fs::remove(*temporary_, ec);
    }
    files_.Leave(*temporary_);
    temporary_.reset();
    return error_.empty();
}

}  // namespace venuecheck
