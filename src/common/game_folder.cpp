#include "common/game_folder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <new>
#include <system_error>

#include "common/host_file.h"
#include "common/host_path.h"
#include "common/read_ahead.h"
#include "common/text.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace venuecheck {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

std::vector<std::string_view> SplitComponents(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (i > start) parts.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

fs::path HostName(std::string_view name) {
    return HostPath(name);
}

bool Exists(const fs::path& p) {
    std::error_code ec;
    const auto st = fs::symlink_status(p, ec);
    return !ec && st.type() != fs::file_type::not_found;
}

// Only regular files are opened: a folder, a pipe or a device is never read
// or written, so nothing can block or run without end.
bool IsRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// The last component of a host path, as the game's data spells names.
std::string NameOf(const fs::path& path) {
    return GameName(path.filename());
}

std::string EntryName(const fs::directory_entry& entry) {
    return NameOf(entry.path());
}

// The entry of `folder` whose name equals `name` without regard to case; the
// smallest by bytes when several do.
std::optional<std::string> FindNoCase(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return std::nullopt;
    std::optional<std::string> best;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::string entry = EntryName(*it);
        if (EqualNoCase(entry, name) && (!best || entry < *best)) best = std::move(entry);
    }
    return best;
}

// Whether the host may find a name that its folder's listing does not spell
// alike even without regard to ASCII case: a name with a byte beyond ASCII
// (a file system that folds or composes more letters) or a NUL byte, and on
// Windows any name (short names, trailing dots and blanks, devices).
bool MayBeFoundOtherwise(std::string_view name) {
#ifdef _WIN32
    (void)name;
    return true;
#else
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return c == '\0' || static_cast<unsigned char>(c) >= 0x80; });
#endif
}

// A folder's path as the key of its listing: without separators at its end,
// so that the root named with one and the folder of a file in it agree.
fs::path::string_type FolderKey(const fs::path& folder) {
    fs::path::string_type key = folder.native();
    while (key.size() > 1 && (key.back() == '/' || key.back() == fs::path::preferred_separator)) {
        key.pop_back();
    }
    return key;
}

// Orders names as the Windows file system lists them.
bool SearchOrder(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

}  // namespace

GameFolder::GameFolder(fs::path root) : root_(std::move(root)) {}

fs::path GameFolder::Resolve(std::string_view gamePath) const {
    return ResolvePath(gamePath).path;
}

std::string GameFolder::FoundPath(std::string_view gamePath) const {
    if (gamePath.empty()) return {};
    const fs::path found = Resolve(gamePath).lexically_relative(root_);
    if (found.empty()) return GamePathWithSlashes(gamePath);
    return found.generic_string();
}

std::string GamePathWithSlashes(std::string_view gamePath) {
    std::string path(gamePath);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

GameFolder::Resolved GameFolder::ResolvePath(std::string_view gamePath) const {
    if (keepListings_) {
        const auto kept = resolvedPaths_.find(gamePath);
        if (kept != resolvedPaths_.end()) {
            const KnownPath& path = kept->second;
            const bool current =
                std::all_of(path.listings.begin(), path.listings.begin() + path.listingCount,
                            [](const auto& seen) { return seen.first->version == seen.second; });
            if (current) return path.resolved;
            resolvedPaths_.erase(kept);
        }
    }
    // Only what the kept listings alone decided is kept for the next time,
    // with the listings that decided it: a name looked up on the host may be
    // found otherwise then.
    bool fromListings = keepListings_;
    KnownPath known;
    Resolved resolved{root_, keepListings_ ? Presence::kFound : Presence::kNotListed};
    fs::path& current = resolved.path;
    const auto parts = SplitComponents(gamePath);
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        if (part == ".") continue;
        fs::path exact = current / HostName(part);
        if (part == "..") {
            current = std::move(exact);
            continue;
        }
        std::optional<std::string> found;
        const Listing* listing = keepListings_ ? &ListingOf(current) : nullptr;
        if (listing != nullptr && listing->listed) {
            if (known.listingCount < known.listings.size()) {
                known.listings[known.listingCount++] = {listing, listing->version};
            } else {
                fromListings = false;
            }
            const auto names = listing->byFolded.find(FoldedCopy(part));
            if (names != listing->byFolded.end()) {
                const auto& spellings = names->second;
                const bool last = i + 1 == parts.size();
                if (std::find(spellings.begin(), spellings.end(), part) != spellings.end()) {
                    resolved.regularFile = last && listing->regularFiles.count(std::string(part));
                    resolved.link = last && listing->links.count(std::string(part));
                    current = std::move(exact);
                    continue;
                }
                found = spellings.front();
                resolved.regularFile = last && listing->regularFiles.count(*found);
                resolved.link = last && listing->links.count(*found);
            } else if (MayBeFoundOtherwise(part)) {
                fromListings = false;
                if (Exists(exact)) {
                    // Not in the listing, but found by the host in its own way.
                    current = std::move(exact);
                    continue;
                }
            }
        } else {
            fromListings = false;
            if (listing != nullptr) resolved.presence = Presence::kNotListed;
            if (Exists(exact)) {
                current = std::move(exact);
                continue;
            }
            if (onFolderListed_) onFolderListed_(current);
            found = FindNoCase(current, part);
        }
        if (!found) {
            // Nothing further can exist: keep the rest as written.
            if (listing != nullptr && listing->listed) resolved.presence = Presence::kMissing;
            current = std::move(exact);
            for (size_t j = i + 1; j < parts.size(); ++j) current /= HostName(parts[j]);
            break;
        }
        current /= HostName(*found);
    }
    if (fromListings) {
        known.resolved = resolved;
        resolvedPaths_.emplace(std::string(gamePath), std::move(known));
    }
    return resolved;
}

// How long before a listing a folder must have last changed for a later run
// to take the listing again: longer than the steps of any host's file times
// (two seconds on FAT), so that a change made after the listing cannot carry
// the time the folder showed before it.
constexpr int64_t kSettledNanoseconds = int64_t{3'000'000'000};

const GameFolder::Listing& GameFolder::ListingOf(const fs::path& folder) const {
    auto [it, inserted] = listings_.try_emplace(FolderKey(folder));
    Listing& listing = it->second;
    // Every run tells which folders it lists, also those whose listing an
    // earlier run left and this one takes again.
    if ((inserted || listing.run != run_) && onFolderListed_) onFolderListed_(folder);
    if (!inserted) {
        if (listing.run == run_) return listing;
        // Listed by an earlier run: still the folder's names when the folder
        // shows the same times as then (every name added or taken sets them)
        // and those times were settled when it was listed.
        if (listing.stamp && StampFolder(folder) == listing.stamp) {
            listing.run = run_;
            return listing;
        }
        listing = Listing();
    }
    listing.run = run_;
    const int64_t listedAt = HostClockNow();
    std::optional<FolderStamp> stamp = StampFolder(folder);
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    if (ec) return listing;
    for (; entries != fs::directory_iterator(); entries.increment(ec)) {
        if (ec) {
            // A listing cut short cannot tell that a name is missing.
            listing.byFolded.clear();
            return listing;
        }
        std::string name = EntryName(*entries);
        // The type as the listing gives it (only a link is looked up).
        std::error_code typeError;
        if (entries->is_regular_file(typeError)) listing.regularFiles.insert(name);
        if (entries->is_symlink(typeError)) listing.links.insert(name);
        auto& spellings = listing.byFolded[FoldedCopy(name)];
        spellings.insert(std::upper_bound(spellings.begin(), spellings.end(), name),
                         std::move(name));
    }
    listing.listed = true;
    // What a link leads to may change without the folder changing.
    if (stamp && listing.links.empty() && stamp->modified <= listedAt - kSettledNanoseconds &&
        stamp->changed <= listedAt - kSettledNanoseconds) {
        listing.stamp = stamp;
    }
    return listing;
}

void GameFolder::NoteCreated(const fs::path& path) const {
    if (!keepListings_) return;
    canOpen_.erase(path.native());
    const auto it = listings_.find(FolderKey(path.parent_path()));
    if (it == listings_.end() || !it->second.listed) return;
    ++it->second.version;
    std::string name = NameOf(path);
    // What the folder creates is a regular file, or it did not create it.
    it->second.regularFiles.insert(name);
    auto& spellings = it->second.byFolded[FoldedCopy(name)];
    const auto at = std::lower_bound(spellings.begin(), spellings.end(), name);
    if (at == spellings.end() || *at != name) spellings.insert(at, std::move(name));
}

void GameFolder::NoteRemoved(const fs::path& path) const {
    if (!keepListings_) return;
    canOpen_.erase(path.native());
    const auto it = listings_.find(FolderKey(path.parent_path()));
    if (it == listings_.end() || !it->second.listed) return;
    ++it->second.version;
    const std::string name = NameOf(path);
    it->second.regularFiles.erase(name);
    it->second.links.erase(name);
    const auto names = it->second.byFolded.find(FoldedCopy(name));
    if (names == it->second.byFolded.end()) return;
    auto& spellings = names->second;
    spellings.erase(std::remove(spellings.begin(), spellings.end(), name), spellings.end());
    if (spellings.empty()) it->second.byFolded.erase(names);
}

void GameFolder::KeepListings(bool keep) {
    if (!filesAhead_.empty()) DropFilesAhead();
    keepListings_ = keep;
    if (keep) ++run_;
    canOpen_.clear();
    resolvedPaths_.clear();
    changed_.clear();
}

namespace {

// Stands for a change whose file could not be told: it may be any file.
constexpr FileId kAnyFile{~uint64_t{0}, ~uint64_t{0}};

}  // namespace

void GameFolder::NoteChanged(const std::optional<FileId>& id) const {
    if (keepListings_) changed_.push_back(id.value_or(kAnyFile));
}

std::optional<GameFolder::AheadPath> GameFolder::PathAhead(std::string_view gamePath) const {
    if (!keepListings_) return std::nullopt;
    for (const std::string_view part : SplitComponents(gamePath)) {
        if (part == "." || part == "..") return std::nullopt;
    }
    Resolved resolved = ResolvePath(gamePath);
    // A regular file as the listing gives it, and not a link.
    if (resolved.presence != Presence::kFound || !resolved.regularFile || resolved.link) {
        return std::nullopt;
    }
    const fs::path::string_type& full = resolved.path.native();
    const fs::path::string_type& root = root_.native();
    if (full.compare(0, root.size(), root) != 0) return std::nullopt;
    fs::path::string_type relative = full.substr(root.size());
    while (!relative.empty() &&
           (relative.front() == '/' || relative.front() == fs::path::preferred_separator)) {
        relative.erase(0, 1);
    }
    if (relative.empty()) return std::nullopt;
    if (!rootFolderTried_) {
        rootFolderTried_ = true;
        rootFolder_ = HostFolder::Open(root_);
    }
    if (!rootFolder_) return std::nullopt;
    return AheadPath{std::move(resolved.path), fs::path(std::move(relative)), rootFolder_, run_,
                     changed_.size()};
}

std::optional<HostFile> GameFolder::OpenAhead(const AheadPath& path) {
    return HostFile::OpenBelow(*path.root, path.relative);
}

bool GameFolder::InTurn(const AheadPath& path, std::string_view gamePath,
                        const FileId& opened) const {
    return InTurnResolved(path, ResolvePath(gamePath), opened);
}

bool GameFolder::InTurnResolved(const AheadPath& path, const Resolved& resolved,
                                const FileId& opened) const {
    if (!keepListings_ || path.run != run_ || path.changesBefore > changed_.size()) return false;
    for (size_t i = path.changesBefore; i < changed_.size(); ++i) {
        if (changed_[i] == opened || changed_[i] == kAnyFile) return false;
    }
    if (resolved.presence == Presence::kMissing || resolved.path != path.path) return false;
    if (onFileRead_) onFileRead_(resolved.path);
    return true;
}

namespace {

constexpr uint64_t kLargestFileAhead = uint64_t{1} << 20;
constexpr uint64_t kMostBytesAhead = uint64_t{1} << 24;
// Files read by one task: enough that handing the work over costs little
// beside reading them.
constexpr size_t kFilesPerTask = 16;

}  // namespace

// Files read ahead by one task, in the order given.
struct GameFolder::FilesAhead : ReadAhead::Task {
    struct File {
        AheadPath path;
        std::optional<FileId> opened;  // none when left to its turn
        std::string bytes;
    };
    std::vector<File> files;
    std::shared_ptr<std::atomic<uint64_t>> bytesAhead;
    std::atomic<bool> dropped{false};

    void Run() noexcept override {
        for (File& file : files) {
            if (dropped.load(std::memory_order_relaxed)) return;
            std::optional<HostFile> opened = OpenAhead(file.path);
            if (!opened || opened->Size() > kLargestFileAhead) continue;
            const uint64_t size = opened->Size();
            if (bytesAhead->fetch_add(size) + size > kMostBytesAhead) {
                bytesAhead->fetch_sub(size);
                continue;
            }
            try {
                file.bytes.resize(static_cast<size_t>(size));
            } catch (const std::bad_alloc&) {
                bytesAhead->fetch_sub(size);
                continue;
            }
            file.bytes.resize(opened->Read(file.bytes.data(), file.bytes.size()));
            file.opened = opened->Id();
        }
    }
};

void GameFolder::ReadFilesAhead(const std::vector<std::string>& gamePaths) const {
    if (readAhead_ == nullptr || !readAhead_->Running() || !keepListings_) return;
    if (!bytesAhead_) bytesAhead_ = std::make_shared<std::atomic<uint64_t>>(0);
    std::shared_ptr<FilesAhead> work;
    const auto submit = [&] {
        if (work) readAhead_->Submit(std::move(work));
        work.reset();
    };
    for (const std::string& gamePath : gamePaths) {
        std::optional<AheadPath> path = PathAhead(gamePath);
        if (!path) continue;
        const fs::path::string_type key = path->path.native();
        if (filesAhead_.count(key) != 0) continue;
        if (!work) {
            work = std::make_shared<FilesAhead>();
            work->bytesAhead = bytesAhead_;
        }
        filesAhead_[key] = FileAhead{work, work->files.size()};
        work->files.push_back({std::move(*path), std::nullopt, {}});
        if (work->files.size() == kFilesPerTask) submit();
    }
    submit();
}

std::optional<std::string> GameFolder::TakeFileAhead(const Resolved& resolved) const {
    const auto found = filesAhead_.find(resolved.path.native());
    if (found == filesAhead_.end()) return std::nullopt;
    const FileAhead ahead = std::move(found->second);
    filesAhead_.erase(found);
    readAhead_->Finish(*ahead.work);
    FilesAhead::File& file = ahead.work->files[ahead.index];
    if (!file.opened) return std::nullopt;
    bytesAhead_->fetch_sub(file.bytes.size());
    std::string bytes = std::move(file.bytes);
    file.bytes = std::string();
    if (!InTurnResolved(file.path, resolved, *file.opened)) return std::nullopt;
    return bytes;
}

void GameFolder::DropFilesAhead() const {
    for (auto& [key, ahead] : filesAhead_)
        ahead.work->dropped.store(true, std::memory_order_relaxed);
    // Each task is waited for here, whether it ran or not, so that nothing
    // of this run is read after its end.
    for (auto& [key, ahead] : filesAhead_) {
        readAhead_->Finish(*ahead.work);
        FilesAhead::File& file = ahead.work->files[ahead.index];
        if (file.opened) bytesAhead_->fetch_sub(file.bytes.size());
        file.bytes = std::string();
    }
    filesAhead_.clear();
}

std::vector<std::string> GameFolder::FindFiles(std::string_view pattern) const {
    size_t cut = pattern.find_last_of("/\\");
    const std::string_view folderPart = cut == std::string_view::npos ? "" : pattern.substr(0, cut);
    const std::string_view namePattern =
        cut == std::string_view::npos ? pattern : pattern.substr(cut + 1);

    std::vector<std::string> names;
    const fs::path folder = Resolve(folderPart);
    const Listing* listing = keepListings_ ? &ListingOf(folder) : nullptr;
    if (listing != nullptr && listing->listed) {
        for (const auto& [folded, spellings] : listing->byFolded) {
            for (const std::string& name : spellings) {
                if (WildcardMatch(namePattern, name)) names.push_back(name);
            }
        }
    } else {
        if (onFolderListed_) onFolderListed_(folder);
        std::error_code ec;
        fs::directory_iterator it(folder, ec);
        if (ec) return names;
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            if (ec) break;
            std::string name = EntryName(*it);
            if (name == "." || name == "..") continue;
            if (WildcardMatch(namePattern, name)) names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(), SearchOrder);
    return names;
}

std::optional<HostFile> GameFolder::OpenFile(std::string_view gamePath) const {
    return OpenResolved(ResolvePath(gamePath));
}

std::optional<HostFile> GameFolder::OpenResolved(const Resolved& resolved) const {
    if (resolved.presence == Presence::kMissing) return std::nullopt;
    auto file = HostFile::Open(resolved.path);
    if (file && onFileRead_) onFileRead_(resolved.path);
    return file;
}

std::optional<std::string> GameFolder::ReadFile(std::string_view gamePath) const {
    const Resolved resolved = ResolvePath(gamePath);
    if (!filesAhead_.empty()) {
        if (std::optional<std::string> bytes = TakeFileAhead(resolved)) return bytes;
    }
    auto file = OpenResolved(resolved);
    if (!file) return std::nullopt;
    std::string bytes;
    // What the file held when it was opened; a file that shrinks meanwhile
    // gives what is left.
    bytes.resize(static_cast<size_t>(file->Size()));
    bytes.resize(file->Read(bytes.data(), bytes.size()));
    return bytes;
}

bool GameFolder::CanOpen(std::string_view gamePath) const {
    const Resolved resolved = ResolvePath(gamePath);
    if (resolved.presence == Presence::kMissing) return false;
    if (!keepListings_) return HostFile::Open(resolved.path).has_value();
    // Stock files and graphics are named by many records of a run.
    const auto [known, inserted] = canOpen_.try_emplace(resolved.path.native(), false);
    if (inserted) {
        known->second = resolved.regularFile ? HostFile::Readable(resolved.path)
                                             : HostFile::Open(resolved.path).has_value();
    }
    return known->second;
}

bool GameFolder::WriteFile(std::string_view gamePath, std::string_view bytes) const {
    const fs::path path = Resolve(gamePath);
    if (Exists(path) && !IsRegularFile(path)) return false;
    const RunFiles::Guard guard(runFiles_);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    if (runFiles_ != nullptr) runFiles_->Enter(path);
    NoteCreated(path);
    if (keepListings_) NoteChanged(HostFile::IdOf(path, true));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out.fail()) return true;
    // A plain copy cut short (a full disk) would still show part of the text.
    std::error_code ec;
    if (fs::remove(path, ec)) {
        NoteRemoved(path);
        if (runFiles_ != nullptr) runFiles_->Leave(path);
    }
    return false;
}

bool GameFolder::AppendFile(std::string_view gamePath, std::string_view bytes) const {
    const Resolved resolved = ResolvePath(gamePath);
    const fs::path& path = resolved.path;
#ifndef _WIN32
    // A name the listing shows missing is made anew, which cannot open
    // anything but a new regular file; should the name exist after all, it is
    // opened as any other.
    if (resolved.presence == Presence::kMissing) {
        const RunFiles::Guard guard(runFiles_);
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
        if (fd >= 0) {
            if (runFiles_ != nullptr) runFiles_->Enter(path);
            NoteCreated(path);
            if (keepListings_) {
                struct stat status {};
                NoteChanged(::fstat(fd, &status) == 0 ? std::optional<FileId>(FileId{
                                                            static_cast<uint64_t>(status.st_dev),
                                                            static_cast<uint64_t>(status.st_ino)})
                                                      : std::nullopt);
            }
            for (size_t done = 0; done < bytes.size();) {
                const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
                if (wrote < 0 && errno == EINTR) continue;
                if (wrote <= 0) break;
                done += static_cast<size_t>(wrote);
            }
            ::close(fd);
            return true;
        }
    }
#endif
    if (Exists(path) && !IsRegularFile(path)) return false;
    const RunFiles::Guard guard(runFiles_);
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) return false;
    if (runFiles_ != nullptr) runFiles_->Enter(path);
    NoteCreated(path);
    if (keepListings_) NoteChanged(HostFile::IdOf(path, true));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return true;
}

void GameFolder::RemoveFile(std::string_view gamePath) const {
    const Resolved resolved = ResolvePath(gamePath);
    if (resolved.presence == Presence::kMissing) return;
#ifdef _WIN32
    if (!IsRegularFile(resolved.path)) return;
#else
    // A regular file, or a link that leads to one (the link goes).
    struct stat status {};
    if (::lstat(resolved.path.c_str(), &status) != 0) return;
    if (keepListings_) {
        NoteChanged(
            FileId{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)});
    }
    if (S_ISLNK(status.st_mode)) {
        if (!IsRegularFile(resolved.path)) return;
        if (keepListings_) NoteChanged(HostFile::IdOf(resolved.path, true));
    } else if (!S_ISREG(status.st_mode)) {
        return;
    }
#endif
    const RunFiles::Guard guard(runFiles_);
    std::error_code ec;
    if (fs::remove(resolved.path, ec)) {
        NoteRemoved(resolved.path);
        if (runFiles_ != nullptr) runFiles_->Leave(resolved.path);
    }
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // A trailing ".*" also matches the end of a name without an extension.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        WildcardMatch(pattern.substr(0, pattern.size() - 2), name)) {
        return true;
    }
    // Iterative matcher with back-tracking to the last '*'.
    size_t p = 0, n = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' ||
             (pattern[p] != '*' && FoldCase(pattern[p]) == FoldCase(name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string ToTextMode(std::string bytes) {
    // Moves the stretches between the carriage returns that go.
    size_t out = bytes.find('\r');
    if (out == std::string::npos) return bytes;
    size_t in = out;
    while (in < bytes.size()) {
        if (bytes[in] == '\r' && in + 1 < bytes.size() && bytes[in + 1] == '\n') ++in;
        size_t end = bytes.find('\r', in + 1);
        if (end == std::string::npos) end = bytes.size();
        std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(in),
                  bytes.begin() + static_cast<std::ptrdiff_t>(end),
                  bytes.begin() + static_cast<std::ptrdiff_t>(out));
        out += end - in;
        in = end;
    }
    bytes.resize(out);
    return bytes;
}

}  // namespace venuecheck
