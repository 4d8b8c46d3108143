// Packs a game folder into one input of the check-run fuzz target (the
// encoding is described in fuzz_support.h), so the sample game and the test
// fixtures can seed it. Files are cut to their first 4 KB, which keeps a
// seed small enough to mutate quickly; a cut peg data grid still reads.
//
//   pack_game FOLDER OUTPUT

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace fs = std::filesystem;

constexpr size_t kLongestFile = 4096;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER OUTPUT\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    std::vector<venuecheck::fuzz::GameEntry> entries;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        venuecheck::fuzz::GameEntry entry;
        entry.path = fs::relative(it->path(), root).generic_string();
        if (it->is_directory()) {
            // Only empty folders need an entry of their own.
            if (!fs::is_empty(it->path())) continue;
            entry.folder = true;
        } else if (it->is_regular_file()) {
            std::ifstream in(it->path(), std::ios::binary);
            entry.content.assign(std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>());
            if (entry.content.size() > kLongestFile) entry.content.resize(kLongestFile);
        } else {
            continue;
        }
        if (!venuecheck::fuzz::IsSafeGamePath(entry.path)) continue;
        entries.push_back(std::move(entry));
    }
    if (ec) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", argv[0], argv[1], ec.message().c_str());
        return 1;
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path < b.path; });
    entries.resize(std::min(entries.size(), venuecheck::fuzz::kMaxGameEntries));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << venuecheck::fuzz::EncodeGame(entries);
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
