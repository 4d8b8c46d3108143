#include "fuzz_support.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <system_error>

#include "common/text.h"

namespace fs = std::filesystem;

namespace venuecheck::fuzz {

void Fail(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "\n*** %.*s\n", static_cast<int>(what.size()), what.data());
    if (!detail.empty()) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(detail.size()), detail.data());
    }
    std::abort();
}

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    static const auto seed = std::random_device{}();
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() / ("venuecheck-fuzz-" + std::to_string(seed) + "-" +
                                         std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

bool ScratchFolder::Write(std::string_view relative, std::string_view bytes) const {
    const fs::path file = path_ / fs::path(std::string(relative));
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) return false;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

uint8_t InputReader::Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
}

uint16_t InputReader::Word() {
    const uint16_t low = Byte();
    const uint16_t high = Byte();
    return static_cast<uint16_t>(low | (high << 8));
}

std::string_view InputReader::Bytes(size_t count) {
    const std::string_view taken = rest_.substr(0, count);
    rest_.remove_prefix(taken.size());
    return taken;
}

std::string_view InputReader::Rest() {
    return Bytes(rest_.size());
}

const std::vector<std::string_view> kGamePaths = {
    "venues/a.ven",
    "venues/b.ven",
    "pegs/a.peg",
    "pegs/b.peg",
    "pegs/a.dat",
    "pegs/a.fsh",
    "stocks/a.stk",
    "stocks/b.stk",
    "species/a.sp",
    "species/b.sp",
    "maxsize.txt",
    "data/_temp.dat",
    "shoalcat.txt",
    "pegs/records.txt",
    "pegs/a.zip",
    "gfx/a.bmp",
    "pegs/info.txt",
    "pegs/weather.wea",
    "pegs/lastpeg.txt",
    "pegs/lookup.txt",
    "pegs/a.jpg",
    "pegs/a.wav",
    "pegs/a.rec",
    "pegs/b.dat",
    "pegs/b.fsh",
    "species/c.sp",
    "stocks/c.stk",
    "pegs/a.rec_test_.tmp",
    "pegs/records.txt_test_.tmp",
};

const std::string_view kFallbackVenue =
    "[Details]\r\nName=Fuzz Water\r\nRef=FUZZ\r\nCreator=Fuzz\r\nDate=2026\r\n"
    "Dir=pegs\\*.peg\r\nLastpeg=pegs\\lastpeg.txt\r\nRecords=pegs\\records.txt\r\n"
    "Desc=pegs\\info.txt\r\n[Weather]\r\nLookup=pegs\\lookup.txt\r\nWeather=pegs\\weather.wea\r\n"
    "Tempmodel=2\r\nTempfact=1.5\r\n";

bool IsSafeGamePath(std::string_view path) {
    if (path.empty() || path.size() > 200 || path.front() == '/') return false;
    size_t parts = 0;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') {
            if (path[i] == '\0' || path[i] == '\\') return false;
            continue;
        }
        const std::string_view part = path.substr(start, i - start);
        if (part.empty() || part == "." || part == "..") return false;
        ++parts;
        start = i + 1;
    }
    return parts <= 8;
}

std::vector<GameEntry> DecodeGame(std::string_view input) {
    InputReader in(input);
    std::vector<GameEntry> entries;
    while (!in.Empty() && entries.size() < kMaxGameEntries) {
        GameEntry entry;
        const uint8_t tag = in.Byte();
        if (tag == kPathFileTag || tag == kPathFolderTag) {
            entry.path = std::string(in.Bytes(in.Byte()));
            entry.folder = tag == kPathFolderTag;
        } else {
            entry.path = std::string(kGamePaths[tag % kGamePaths.size()]);
        }
        if (!entry.folder) entry.content = std::string(in.Bytes(in.Word()));
        if (IsSafeGamePath(entry.path)) entries.push_back(std::move(entry));
    }
    return entries;
}

std::string EncodeGame(const std::vector<GameEntry>& entries) {
    std::string out;
    for (const GameEntry& entry : entries) {
        size_t tag = 0;
        while (tag < kGamePaths.size() && kGamePaths[tag] != entry.path) ++tag;
        if (entry.folder || tag == kGamePaths.size()) {
            out.push_back(static_cast<char>(entry.folder ? kPathFolderTag : kPathFileTag));
            const std::string_view path = std::string_view(entry.path).substr(0, 255);
            out.push_back(static_cast<char>(path.size()));
            out += path;
        } else {
            out.push_back(static_cast<char>(tag));
        }
        if (entry.folder) continue;
        const std::string_view content = std::string_view(entry.content).substr(0, 0xFFFF);
        out.push_back(static_cast<char>(content.size() & 0xFF));
        out.push_back(static_cast<char>(content.size() >> 8));
        out += content;
    }
    return out;
}

namespace {

bool IsVenueFile(const std::string& path) {
    const size_t slash = path.find('/');
    return slash != std::string::npos && EqualNoCase(path.substr(0, slash), "venues") &&
           path.find('/', slash + 1) == std::string::npos && path.size() >= 4 &&
           EqualNoCase(path.substr(path.size() - 4), ".ven");
}

void WriteFile(const fs::path& file, std::string_view bytes) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec || fs::is_directory(file, ec)) return;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

void WriteGame(const std::vector<GameEntry>& entries, std::string_view input,
               const fs::path& root) {
    std::error_code ec;
    fs::create_directories(root / "data", ec);
    bool venue = false;
    bool peg = false;
    for (const GameEntry& entry : entries) {
        const fs::path path = root / fs::path(entry.path);
        if (entry.folder) {
            fs::create_directories(path, ec);
            continue;
        }
        WriteFile(path, entry.content);
        venue = venue || IsVenueFile(entry.path);
        peg = peg || EqualNoCase(fs::path(entry.path).extension().string(), ".peg");
    }
    if (venue) return;
    WriteFile(root / "venues" / "fuzz.ven", kFallbackVenue);
    if (!peg) WriteFile(root / "pegs" / "fuzz.peg", input);
}

}  // namespace venuecheck::fuzz
