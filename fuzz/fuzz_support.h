#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace venuecheck::fuzz {

inline std::string_view AsText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Reports a broken property of the code under test and stops the program, so
// the fuzzer keeps the input.
[[noreturn]] void Fail(std::string_view what, std::string_view detail = {});

// A fresh folder below the system's temporary folder, removed with everything
// in it when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // Writes a file below the folder, creating its folders; false when that
    // cannot be done (a file stands where a folder is needed).
    bool Write(std::string_view relative, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// Takes bytes off the front of a fuzz input.
class InputReader {
public:
    explicit InputReader(std::string_view input) : rest_(input) {}
    bool Empty() const { return rest_.empty(); }
    size_t Remaining() const { return rest_.size(); }
    // 0 once the input is used up.
    uint8_t Byte();
    uint16_t Word();  // little-endian
    // Up to `count` bytes: fewer when the input ends first.
    std::string_view Bytes(size_t count);
    std::string_view Rest();

private:
    std::string_view rest_;
};

// ---- A small game folder encoded in one fuzz input ----
//
// The input is a list of entries, each:
//   tag (1 byte): 0xFF a file with its path written out, 0xFE a folder with
//     its path written out, any other value a file whose path is
//     kGamePaths[tag % size];
//   for 0xFF and 0xFE: the path's length (1 byte) and the path ('/' between
//     folders);
//   for files: the content's length (2 bytes, little-endian) and the content
//     (cut short when the input ends).
// Paths that would leave the folder (absolute, "..", empty parts) are dropped.
struct GameEntry {
    std::string path;
    std::string content;
    bool folder = false;
};

// The paths named by a one-byte tag: the files that the fallback venue and
// the seeds refer to, so mutations of the tag land on meaningful files.
extern const std::vector<std::string_view> kGamePaths;

inline constexpr uint8_t kPathFileTag = 0xFF;
inline constexpr uint8_t kPathFolderTag = 0xFE;
inline constexpr size_t kMaxGameEntries = 128;

std::vector<GameEntry> DecodeGame(std::string_view input);
std::string EncodeGame(const std::vector<GameEntry>& entries);

// A relative path of plain parts that stays inside the folder.
bool IsSafeGamePath(std::string_view path);

// Writes the decoded entries below root. When they hold no venue file, a
// venue whose pegs are "pegs/*.peg" is added, and when they hold no peg file
// either, the whole input becomes that venue's peg file: even an input too
// short to decode makes a whole check run. The "data" folder for the
// temporary plain copy is always there.
void WriteGame(const std::vector<GameEntry>& entries, std::string_view input,
               const std::filesystem::path& root);

// The fallback venue file.
extern const std::string_view kFallbackVenue;

}  // namespace venuecheck::fuzz
