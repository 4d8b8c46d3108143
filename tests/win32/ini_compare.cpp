// Asks our INI reader the questions that ini_probe asked the Windows profile
// reader, and lists every answer that differs.
//
//   ini_compare CORPUS_DIR PROBE_OUTPUT [KNOWN_DIFFERENCES]
//
// KNOWN_DIFFERENCES lists the questions whose answers are known to differ,
// one "FILE<TAB>[SECTION]<TAB>KEY" a line as the differences are printed,
// '#' lines telling why. Exit status: 0 when every answer is the same or a
// known difference, 1 when another answer differs or a known difference no
// longer does, 2 when the files cannot be read.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include "common/ini_file.h"

namespace {

std::string Escape(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7f || c == '\\') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string Unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: ini_compare CORPUS_DIR PROBE_OUTPUT [KNOWN_DIFFERENCES]\n";
        return 2;
    }
    std::set<std::string> known;
    if (argc == 4) {
        std::ifstream list(argv[3], std::ios::binary);
        if (!list) {
            std::cerr << "ini_compare: cannot read " << argv[3] << '\n';
            return 2;
        }
        std::string entry;
        while (std::getline(list, entry)) {
            if (!entry.empty() && entry[0] != '#') known.insert(entry);
        }
    }
    std::set<std::string> seen;
    int knownDifferences = 0;
    std::ifstream probe(argv[2], std::ios::binary);
    if (!probe) {
        std::cerr << "ini_compare: cannot read " << argv[2] << '\n';
        return 2;
    }
    venuecheck::IniFile ini;
    std::string file;
    int questions = 0;
    int differences = 0;
    std::string line;
    while (std::getline(probe, line)) {
        if (line.rfind("file ", 0) == 0) {
            file = line.substr(5);
            const auto bytes = ReadBytes(std::string(argv[1]) + "/" + file);
            if (!bytes) {
                std::cerr << "ini_compare: cannot read " << file << '\n';
                return 2;
            }
            ini = venuecheck::IniFile::Parse(*bytes);
            continue;
        }
        const size_t tab1 = line.find('\t');
        const size_t tab2 = line.find('\t', tab1 + 1);
        if (tab1 == std::string::npos || tab2 == std::string::npos) continue;
        const std::string section = Unescape(line.substr(0, tab1));
        const std::string key = Unescape(line.substr(tab1 + 1, tab2 - tab1 - 1));
        const std::string expected = line.substr(tab2 + 1);
        const std::string ours = Escape(ini.GetString(section, key, "[Unknown]"));
        ++questions;
        if (ours == expected) continue;
        const std::string entry = file + "\t[" + Escape(section) + "]\t" + Escape(key);
        if (known.count(entry) != 0) {
            seen.insert(entry);
            ++knownDifferences;
            continue;
        }
        ++differences;
        std::cout << entry << "\n"
                  << "    Windows: " << expected << "\n"
                  << "    ours:    " << ours << "\n";
    }
    for (const std::string& entry : known) {
        if (seen.count(entry) == 0) {
            ++differences;
            std::cout << entry << "\n    listed as a known difference, but the answers agree\n";
        }
    }
    std::cout << "ini_compare: " << questions << " questions, " << knownDifferences
              << " known differences, " << differences << " other differences\n";
    return differences == 0 ? 0 : 1;
}
