#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace venuecheck {

// Which file of the host a name led to: the same for every name of one file.
struct FileId {
    uint64_t device = 0;
    uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

// A folder of the host held open, so that names below it can be opened from
// it on any thread (HostFile::OpenBelow); closed when the object goes.
class HostFolder {
public:
    // None when the path is not a folder that can be opened, or where files
    // are not opened below a held folder (everywhere but Linux).
    static std::shared_ptr<const HostFolder> Open(const std::filesystem::path& path);
    ~HostFolder();
    HostFolder(const HostFolder&) = delete;
    HostFolder& operator=(const HostFolder&) = delete;

private:
    friend class HostFile;
    explicit HostFolder(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// A regular file of the host, open for reading from its start and closed
// when the object goes. Only regular files are opened: a folder, a pipe or a
// device is never read, so nothing can block or run without end.
class HostFile {
public:
    // None when the path does not name a regular file that can be opened for
    // reading.
    static std::optional<HostFile> Open(const std::filesystem::path& path);

    // The same for a relative path below the folder, reached through folders
    // only: none also when the way to it passes through a link of any kind,
    // leaves the folder or goes up. Safe to call on any thread.
    static std::optional<HostFile> OpenBelow(const HostFolder& folder,
                                             const std::filesystem::path& relative);

    // Which file the path led to; a default FileId where the host does not
    // tell.
    static std::optional<FileId> IdOf(const std::filesystem::path& path, bool followLink);

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
    // Which file this is.
    const FileId& Id() const { return id_; }

    // Reads up to `count` bytes into the buffer; fewer only at the end of the
    // file or when reading fails. Returns the number of bytes read.
    size_t Read(char* buffer, size_t count);

private:
    struct Handle;
    HostFile(std::unique_ptr<Handle> handle, uint64_t size, FileId id);
    static std::optional<HostFile> FromOpened(std::unique_ptr<Handle> handle);

    std::unique_ptr<Handle> handle_;
    uint64_t size_ = 0;
    FileId id_;
};

// What the host shows of a folder's own entry: enough to tell, by asking
// again, whether a name was added to it or taken from it since. Every such
// change sets the folder's change time to the host's clock at that moment.
struct FolderStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t modified = 0;  // nanoseconds since the epoch
    int64_t changed = 0;   // nanoseconds since the epoch
    friend bool operator==(const FolderStamp&, const FolderStamp&) = default;
};

// The folder's stamp; none for anything but a folder, or where the host
// keeps no such times (everywhere but Linux).
std::optional<FolderStamp> StampFolder(const std::filesystem::path& folder);

// The host's clock, by which it stamps changes, in nanoseconds since the
// epoch.
int64_t HostClockNow();

}  // namespace venuecheck
