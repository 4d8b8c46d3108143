#pragma once

// What a check run may do to a game folder, and a way to see what it did.
//
// A check run leaves a game folder as it found it, except for what the
// checker documents: "shoalcat.txt" is deleted when a stock file names a
// known species, an existing records probe file ("<Records>_test_.tmp") is
// consumed by the records probe, and "data/_temp.dat" is overwritten and
// deleted whenever a scrambled file is read. Everything else, every name,
// size and content, must be the same afterwards.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <system_error>

namespace venuecheck::snapshot {

struct EntryState {
    char kind = 'f';  // 'f' file, 'd' folder, 'l' symbolic link, 'o' other
    uint64_t size = 0;
    uint64_t hash = 0;  // of the content, or of the link's target
    bool readable = true;
    friend bool operator==(const EntryState&, const EntryState&) = default;
};

// Every entry below the root by its path relative to the root ('/' between
// folders). Symbolic links are recorded, not followed.
using FolderState = std::map<std::string, EntryState>;

inline uint64_t Fnv1a(std::string_view bytes, uint64_t hash = 0xcbf29ce484222325ull) {
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

inline uint64_t HashFile(const std::filesystem::path& path, uint64_t size, bool& readable) {
    std::ifstream in(path, std::ios::binary);
    readable = static_cast<bool>(in);
    uint64_t hash = Fnv1a({});
    std::string block(static_cast<size_t>(std::clamp<uint64_t>(size, 1, 1 << 20)), '\0');
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        hash = Fnv1a(std::string_view(block.data(), static_cast<size_t>(in.gcount())), hash);
    }
    return hash;
}

inline FolderState TakeSnapshot(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    FolderState state;
    std::error_code ec;
    auto it =
        fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path& path = it->path();
        EntryState entry;
        const auto status = fs::symlink_status(path, ec);
        if (ec) break;
        if (fs::is_symlink(status)) {
            entry.kind = 'l';
            entry.hash = Fnv1a(fs::read_symlink(path, ec).string());
        } else if (fs::is_directory(status)) {
            entry.kind = 'd';
        } else if (fs::is_regular_file(status)) {
            entry.size = fs::file_size(path, ec);
            entry.hash = HashFile(path, entry.size, entry.readable);
        } else {
            entry.kind = 'o';
        }
        ec.clear();
        state[path.lexically_relative(root).generic_string()] = entry;
    }
    return state;
}

inline bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    text = text.substr(text.size() - tail.size());
    for (size_t i = 0; i < tail.size(); ++i) {
        const auto fold = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (fold(text[i]) != fold(tail[i])) return false;
    }
    return true;
}

inline bool IsShoalCat(std::string_view path) {
    return path.size() == 12 && EndsWithNoCase(path, "shoalcat.txt");
}

inline bool IsTempPlainCopy(std::string_view path) {
    return path.size() == 14 && EndsWithNoCase(path, "data/_temp.dat");
}

// The changes between two states that the checker does not document, one a
// line; empty when there are none. `scrambledRead` tells whether the run read
// a scrambled file (which rewrites and deletes the temporary plain copy).
inline std::string UndocumentedChanges(const FolderState& before, const FolderState& after,
                                       bool scrambledRead) {
    std::string problems;
    for (const auto& [path, entry] : before) {
        const auto now = after.find(path);
        const bool mayGo =
            (entry.kind == 'f' && (IsShoalCat(path) || EndsWithNoCase(path, "_test_.tmp"))) ||
            (scrambledRead && IsTempPlainCopy(path));
        if (now == after.end()) {
            if (!mayGo) problems += "removed: " + path + "\n";
        } else if (!(now->second == entry) && !(scrambledRead && IsTempPlainCopy(path))) {
            problems += "changed: " + path + "\n";
        }
    }
    for (const auto& [path, entry] : after) {
        if (before.find(path) == before.end()) problems += "added: " + path + "\n";
    }
    return problems;
}

}  // namespace venuecheck::snapshot
