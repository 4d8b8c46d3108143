#include "common/game_folder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "common/host_path.h"
#include "common/text.h"

namespace fs = std::filesystem;

namespace venuecheck {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

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

fs::path HostName(std::string_view name) { return HostPath(name); }

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

// The entry of `folder` whose name equals `name` without regard to case; the
// smallest by bytes when several do.
std::optional<std::string> FindNoCase(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return std::nullopt;
    std::optional<std::string> best;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::string entry = GameName(it->path().filename());
        if (EqualNoCase(entry, name) && (!best || entry < *best)) best = std::move(entry);
    }
    return best;
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
    fs::path current = root_;
    const auto parts = SplitComponents(gamePath);
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        if (part == ".") continue;
        fs::path exact = current / HostName(part);
        if (part == ".." || Exists(exact)) {
            current = std::move(exact);
            continue;
        }
        const auto found = FindNoCase(current, part);
        if (!found) {
            // Nothing further can exist: keep the rest as written.
            current = std::move(exact);
            for (size_t j = i + 1; j < parts.size(); ++j) current /= HostName(parts[j]);
            break;
        }
        current /= HostName(*found);
    }
    return current;
}

std::vector<std::string> GameFolder::FindFiles(std::string_view pattern) const {
    size_t cut = pattern.find_last_of("/\\");
    const std::string_view folderPart = cut == std::string_view::npos ? "" : pattern.substr(0, cut);
    const std::string_view namePattern =
        cut == std::string_view::npos ? pattern : pattern.substr(cut + 1);

    std::vector<std::string> names;
    const fs::path folder = Resolve(folderPart);
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::string name = GameName(it->path().filename());
        if (name == "." || name == "..") continue;
        if (WildcardMatch(namePattern, name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), SearchOrder);
    return names;
}

std::optional<std::string> GameFolder::ReadFile(std::string_view gamePath) const {
    const fs::path path = Resolve(gamePath);
    if (!IsRegularFile(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    in.seekg(0, std::ios::beg);
    if (end > 0) {
        bytes.resize(static_cast<size_t>(end));
        in.read(bytes.data(), end);
        bytes.resize(static_cast<size_t>(in.gcount()));
    }
    return bytes;
}

bool GameFolder::CanOpen(std::string_view gamePath) const {
    const fs::path path = Resolve(gamePath);
    if (!IsRegularFile(path)) return false;
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

bool GameFolder::WriteFile(std::string_view gamePath, std::string_view bytes) const {
    const fs::path path = Resolve(gamePath);
    if (Exists(path) && !IsRegularFile(path)) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool GameFolder::AppendFile(std::string_view gamePath, std::string_view bytes) const {
    const fs::path path = Resolve(gamePath);
    if (Exists(path) && !IsRegularFile(path)) return false;
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return true;
}

void GameFolder::RemoveFile(std::string_view gamePath) const {
    const fs::path path = Resolve(gamePath);
    if (!IsRegularFile(path)) return;
    std::error_code ec;
    fs::remove(path, ec);
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
            (pattern[p] == '?' || (pattern[p] != '*' && FoldCase(pattern[p]) == FoldCase(name[n])))) {
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
    size_t out = 0;
    for (size_t in = 0; in < bytes.size(); ++in) {
        if (bytes[in] == '\r' && in + 1 < bytes.size() && bytes[in + 1] == '\n') continue;
        bytes[out++] = bytes[in];
    }
    bytes.resize(out);
    return bytes;
}

}  // namespace venuecheck
