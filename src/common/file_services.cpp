#include "common/file_services.h"

#include <unzip.h>

#include <filesystem>
#include <system_error>

#include "common/game_folder.h"
#include "common/host_path.h"

namespace venuecheck {
namespace {

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

// Windows compares zip entry names without regard to case by default; other
// systems must ask for it.
#ifdef _WIN32
constexpr int kZipCaseInsensitive = 0;
#else
constexpr int kZipCaseInsensitive = 2;
#endif

}  // namespace

size_t BaseNameIndex(std::string_view path) {
    for (size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1])) return i;
    }
    return 0;
}

std::string_view BaseName(std::string_view path) {
    return path.substr(BaseNameIndex(path));
}

bool IsArchivePath(std::string_view path) {
    return !path.empty() && path.front() == ':';
}

std::optional<ArchivePath> SplitArchivePath(std::string_view path) {
    if (!IsArchivePath(path)) return std::nullopt;
    const size_t k = BaseNameIndex(path);
    ArchivePath split;
    split.entry = std::string(path.substr(k));
    // With the leading ':' as the only separator, the archive and the entry
    // are both the rest of the path.
    split.archive = k == 1 ? split.entry : std::string(path.substr(1, k - 2));
    return split;
}

bool ZipHasEntry(const std::string& hostArchivePath, const std::string& entry) {
    if (entry.empty()) return false;
    unzFile zip = unzOpen(hostArchivePath.c_str());
    if (zip == nullptr) return false;
    const bool found = unzLocateFile(zip, entry.c_str(), kZipCaseInsensitive) == UNZ_OK;
    unzClose(zip);
    return found;
}

bool FileExists(const GameFolder& folder, std::string_view path) {
    const auto archive = SplitArchivePath(path);
    if (!archive) return folder.CanOpen(path);
    if (archive->archive.empty() || !folder.CanOpen(archive->archive)) return false;
    return ZipHasEntry(GameName(folder.Resolve(archive->archive)), archive->entry);
}

bool AppendToFile(const GameFolder& folder, std::string_view path, std::string_view text,
                  bool lineBreak) {
    std::string bytes(text);
    if (lineBreak) bytes.push_back('\n');
    return folder.AppendFile(path, bytes);
}

bool ProbeWrite(const GameFolder& folder, std::string_view path, std::string_view word) {
    const bool appended = AppendToFile(folder, path, word, true);
    const bool found = FileExists(folder, path);
    if (found || appended) DeleteGameFile(folder, path);
    // A probe file left from an earlier run is found although nothing could
    // be written to it.
    return found && appended;
}

bool PathInUse(const GameFolder& folder, std::string_view path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(folder.Resolve(path), ec));
}

void DeleteGameFile(const GameFolder& folder, std::string_view path) {
    folder.RemoveFile(path);
}

}  // namespace venuecheck
