#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace venuecheck {

class GameFolder;

// The tail of a path after its last '\', '/' or ':' (the whole path when it
// has none).
std::string_view BaseName(std::string_view path);

// The position of the first byte after the last '\', '/' or ':'; 0 when the
// path has none.
size_t BaseNameIndex(std::string_view path);

// A path whose first character is ':' names an entry stored at the top level
// of a zip archive: ":pegs/lake.zip/peg1.dat" is the entry "peg1.dat" of
// "pegs/lake.zip"; ":peg1.dat" names "peg1.dat" in the archive "peg1.dat".
struct ArchivePath {
    std::string archive;
    std::string entry;
};
bool IsArchivePath(std::string_view path);
std::optional<ArchivePath> SplitArchivePath(std::string_view path);

// True when the zip archive at the host path can be opened and lists the
// entry at its top level, compared without regard to ASCII case. The entry's
// data is never read.
bool ZipHasEntry(const std::string& hostArchivePath, const std::string& entry);

// For a plain path, true when the file can be opened for reading; for an
// archive path, true when the archive can be opened and lists the entry.
bool FileExists(const GameFolder& folder, std::string_view path);

// Appends the text (and a line break when asked) to the file, creating it
// when missing; false when it cannot be opened.
bool AppendToFile(const GameFolder& folder, std::string_view path, std::string_view text,
                  bool lineBreak);

// The writability probe: appends the word and a line break to the file
// (creating it), tests that the file exists, and deletes it again. True when
// the word was written and the file found; a file the probe made that cannot
// be found again (a name that reads as an archive path) is deleted all the
// same.
bool ProbeWrite(const GameFolder& folder, std::string_view path, std::string_view word);

// True when anything stands at the path: a file, also one that cannot be
// read, a folder, or a link, also one that leads nowhere.
bool PathInUse(const GameFolder& folder, std::string_view path);

// Deletes a file; the result is not examined by any caller.
void DeleteGameFile(const GameFolder& folder, std::string_view path);

}  // namespace venuecheck
