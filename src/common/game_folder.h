#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/host_file.h"
#include "common/run_files.h"

namespace venuecheck {

class ReadAhead;

// The game's folder, the root of every path written in the game's data.
//
// The data is written for Windows: '\' and '/' both separate folders, and a
// name that does not exist with its exact letter case is looked up without
// regard to ASCII letter case, folder by folder. Every file the checker reads,
// writes or deletes goes through this class, so tests can run side by side on
// folders of their own without changing the working directory.
class GameFolder {
public:
    explicit GameFolder(std::filesystem::path root);

    const std::filesystem::path& Root() const { return root_; }

    // The host path of a path from the game's data, for reading: every
    // component that exists in another letter case is replaced by the name
    // found on disk; the rest stays as written.
    std::filesystem::path Resolve(std::string_view gamePath) const;

    // A path from the game's data as the folder holds it: relative to the
    // root, '/' between the names, each name that exists in the letter case
    // found on disk and the rest as written.
    std::string FoundPath(std::string_view gamePath) const;

    // Wildcard search ('*' and '?', without regard to case) in the folder of
    // the pattern. Yields the names (not paths) of files and folders alike,
    // "." and ".." excepted, ascending by the name with ASCII letters
    // upper-cased, ties broken by the bytes of the name.
    std::vector<std::string> FindFiles(std::string_view pattern) const;

    // The whole content of a file, untranslated; none when it is missing, a
    // folder, or cannot be opened for reading.
    std::optional<std::string> ReadFile(std::string_view gamePath) const;

    // A file opened to be read piece by piece; none as for ReadFile.
    std::optional<HostFile> OpenFile(std::string_view gamePath) const;

    // True when the path names a file (not a folder) that can be opened for
    // reading.
    bool CanOpen(std::string_view gamePath) const;

    // Creates or truncates the file and writes the bytes; false when the file
    // cannot be opened or written, and then a file cut short is deleted again.
    // A new file keeps the letter case of its name as written, inside the
    // folder found without regard to case.
    bool WriteFile(std::string_view gamePath, std::string_view bytes) const;

    // Opens the file for appending, creating it when missing, and writes the
    // bytes; false when it cannot be opened.
    bool AppendFile(std::string_view gamePath, std::string_view bytes) const;

    // Deletes a file; a missing file or a failed deletion is ignored.
    void RemoveFile(std::string_view gamePath) const;

    // The checker writes files only to delete them again (plain copies,
    // probes). While a registry is attached, every file that WriteFile or
    // AppendFile has written is entered in it until RemoveFile deletes it, so
    // that a run ended from outside can delete it first; a file that was not
    // written is never entered. The registry outlives the folder's use of it.
    void TrackRunFiles(RunFiles* files) { runFiles_ = files; }

    // While listings are kept, each folder is listed once and its listing
    // answers every later look-up of a name in it, instead of a look-up on
    // disk per path component, and CanOpen tries each file once; the files
    // this class creates and deletes are entered in the listings as it goes.
    // A check run keeps them from its start to its end (a file that something
    // else adds meanwhile is seen by the next run). The next run takes a
    // folder's listing again only where the host shows that the folder has
    // not changed since (see ListingOf); what CanOpen found is always asked
    // anew.
    void KeepListings(bool keep);

    // Called with the host path of every file whose content is read.
    void OnFileRead(std::function<void(const std::filesystem::path&)> observer) {
        onFileRead_ = std::move(observer);
    }

    // Reading ahead of turn. While listings are kept, a file that the run
    // will read later may be opened and read on another thread first, so
    // long as what is read there is what the run reads in its turn: the run
    // itself writes and deletes files (probes, the temporary plain copy), and
    // a path from the data may name one of them.
    //
    // The folder makes sure of it. It hands out a path only for a name that
    // the kept listings show as a regular file, below the root without going
    // up, and that path is opened ahead only through folders, never a link,
    // so that nothing but the names on the way decides what it leads to. In
    // the run's turn, InTurn takes what was read ahead only when the name
    // still resolves to the same host path and, since the path was handed
    // out, the folder has neither written to nor deleted a name of the file
    // that was opened: then opening it in turn would open the same file with
    // the same bytes. Otherwise the run reads the file in its turn, as ever.
    struct AheadPath {
        std::filesystem::path path;      // the host path as resolved
        std::filesystem::path relative;  // the same below the root
        std::shared_ptr<const HostFolder> root;
        uint64_t run = 0;
        size_t changesBefore = 0;  // the changes the folder had made when handed out
    };
    // None where the name cannot be read ahead safely, or the host cannot.
    std::optional<AheadPath> PathAhead(std::string_view gamePath) const;
    // Opens the path handed out; safe on any thread.
    static std::optional<HostFile> OpenAhead(const AheadPath& path);
    // True when what was opened ahead as `opened` is what opening the name
    // now opens (see above); the file then counts as read (OnFileRead).
    bool InTurn(const AheadPath& path, std::string_view gamePath, const FileId& opened) const;

    // The thread that ReadFilesAhead hands its work to; none (the default)
    // reads nothing ahead. It must outlive the folder's use of it.
    void UseReadAhead(ReadAhead* readAhead) { readAhead_ = readAhead; }
    // Reads the files ahead of their turn, where PathAhead allows it, for
    // ReadFile to give in their turn (what InTurn allows of it). A file
    // larger than 1 MiB, or beyond 16 MiB read ahead and not yet taken, is
    // left to its turn. What is not taken by the end of the run is dropped.
    void ReadFilesAhead(const std::vector<std::string>& gamePaths) const;
    // Called with the host path of every folder whose names are listed, to
    // search it or to look a name up in it without regard to case.
    void OnFolderListed(std::function<void(const std::filesystem::path&)> observer) {
        onFolderListed_ = std::move(observer);
    }

private:
    // Whether a resolved path names something, as far as the kept listings
    // tell.
    enum class Presence { kFound, kMissing, kNotListed };
    struct Resolved {
        std::filesystem::path path;
        Presence presence = Presence::kNotListed;
        bool regularFile = false;  // a listing holds it as a regular file
        bool link = false;         // a listing holds it as a link
    };
    Resolved ResolvePath(std::string_view gamePath) const;
    std::optional<HostFile> OpenResolved(const Resolved& resolved) const;

    // The names of one folder, by their ASCII-folded form; each list sorted
    // by bytes.
    struct Listing {
        bool listed = false;  // false when the folder cannot be listed
        std::unordered_map<std::string, std::vector<std::string>> byFolded;
        std::unordered_set<std::string> regularFiles;  // the names of regular files
        std::unordered_set<std::string> links;         // the names of links
        uint64_t run = 0;      // the run that listed the folder or took the listing again
        uint64_t version = 0;  // names the folder added or took since it was listed
        // The folder as it stood before it was listed, when a later run may
        // take the listing again if the folder still stands so.
        std::optional<FolderStamp> stamp;
    };
    const Listing& ListingOf(const std::filesystem::path& folder) const;
    void NoteCreated(const std::filesystem::path& path) const;
    void NoteRemoved(const std::filesystem::path& path) const;

    std::filesystem::path root_;
    bool keepListings_ = false;
    uint64_t run_ = 0;  // counts the times listings were kept
    mutable std::unordered_map<std::filesystem::path::string_type, Listing>
        listings_;  // by host folder path
    // Each game path as resolved while listings are kept, with the listings
    // that decided it as they stood then: it holds while none of them has
    // gained or lost a name.
    struct KnownPath {
        Resolved resolved;
        std::array<std::pair<const Listing*, uint64_t>, 4> listings{};
        size_t listingCount = 0;
    };
    struct PathHash {
        using is_transparent = void;
        size_t operator()(std::string_view path) const {
            return std::hash<std::string_view>{}(path);
        }
    };
    mutable std::unordered_map<std::string, KnownPath, PathHash, std::equal_to<>> resolvedPaths_;
    // Whether each file asked about could be opened, while listings are kept.
    mutable std::unordered_map<std::filesystem::path::string_type, bool> canOpen_;
    std::function<void(const std::filesystem::path&)> onFileRead_;
    std::function<void(const std::filesystem::path&)> onFolderListed_;
    RunFiles* runFiles_ = nullptr;
    // The files written or deleted while listings are kept (both the link
    // and what it leads to, for a link), in order.
    mutable std::vector<FileId> changed_;
    void NoteChanged(const std::optional<FileId>& id) const;
    mutable std::shared_ptr<const HostFolder> rootFolder_;
    mutable bool rootFolderTried_ = false;
    // Files read ahead, by host path: the work that reads them and the place
    // of each in it.
    struct FilesAhead;
    struct FileAhead {
        std::shared_ptr<FilesAhead> work;
        size_t index = 0;
    };
    ReadAhead* readAhead_ = nullptr;
    mutable std::unordered_map<std::filesystem::path::string_type, FileAhead> filesAhead_;
    mutable std::shared_ptr<std::atomic<uint64_t>> bytesAhead_;
    std::optional<std::string> TakeFileAhead(const Resolved& resolved) const;
    void DropFilesAhead() const;
    bool InTurnResolved(const AheadPath& path, const Resolved& resolved,
                        const FileId& opened) const;
};

// Keeps the listings of a game folder while it lives.
class KeptListings {
public:
    explicit KeptListings(GameFolder& folder) : folder_(folder) { folder_.KeepListings(true); }
    ~KeptListings() { folder_.KeepListings(false); }
    KeptListings(const KeptListings&) = delete;
    KeptListings& operator=(const KeptListings&) = delete;

private:
    GameFolder& folder_;
};

// Wildcard match of a Windows file search: '*' is any run of bytes, '?' one
// byte, letters compare without regard to ASCII case, and a pattern that ends
// in ".*" also matches a name without an extension.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// A path from the game's data with '/' for every '\'.
std::string GamePathWithSlashes(std::string_view gamePath);

// CR LF becomes LF, as a file opened in text mode reads on Windows.
std::string ToTextMode(std::string bytes);

}  // namespace venuecheck
