// Asks the Windows profile reader (GetPrivateProfileStringA) for every
// section and key of the INI files given, the way the game reads venue and peg
// files: a 256-byte buffer and the default "[Unknown]". ini_compare then asks
// our own reader the same questions.
//
//   ini_probe OUTPUT QUERIES INI...
//
// For each INI file OUTPUT gets a line "file NAME", then one line
// "SECTION<TAB>KEY<TAB>VALUE" per question, bytes below 0x20, from 0x7F up,
// and '\' written as \xHH. The questions are every pair of a section name and
// a key name, the names taken from the profile reader's own lists, from a
// plain reading of the file's lines and from the QUERIES file.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Escape(const std::string& text) {
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

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The names in a double-NUL-terminated list.
std::vector<std::string> SplitList(const std::vector<char>& buffer, DWORD length) {
    std::vector<std::string> names;
    size_t start = 0;
    for (size_t i = 0; i < length; ++i) {
        if (buffer[i] == '\0') {
            names.emplace_back(buffer.data() + start, i - start);
            start = i + 1;
        }
    }
    if (start < length) names.emplace_back(buffer.data() + start, length - start);
    return names;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: ini_probe OUTPUT QUERIES INI...\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    std::set<std::string> extraSections;
    std::set<std::string> extraKeys;
    {
        std::ifstream queries(argv[2], std::ios::binary);
        std::string line;
        while (std::getline(queries, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("section ", 0) == 0) extraSections.insert(Unescape(line.substr(8)));
            if (line.rfind("key ", 0) == 0) extraKeys.insert(Unescape(line.substr(4)));
        }
    }

    for (int arg = 3; arg < argc; ++arg) {
        // Without a folder in the name the profile reader looks in the
        // Windows folder.
        char full[MAX_PATH];
        GetFullPathNameA(argv[arg], MAX_PATH, full, nullptr);

        std::set<std::string> sections = extraSections;
        std::set<std::string> keys = extraKeys;

        std::vector<char> list(1 << 20);
        DWORD length = GetPrivateProfileStringA(nullptr, nullptr, "", list.data(),
                                                static_cast<DWORD>(list.size()), full);
        const auto listed = SplitList(list, length);
        for (const auto& section : listed) {
            sections.insert(section);
            length = GetPrivateProfileStringA(section.c_str(), nullptr, "", list.data(),
                                              static_cast<DWORD>(list.size()), full);
            for (const auto& key : SplitList(list, length)) keys.insert(key);
        }

        // A plain reading of the lines finds the names of repeated sections
        // and of keys the lists above leave out.
        std::ifstream in(argv[arg], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        std::istringstream lines(bytes);
        std::string line;
        while (std::getline(lines, line)) {
            line = Trim(line);
            if (!line.empty() && line[0] == '[') {
                sections.insert(Trim(line.substr(1, line.find(']') - 1)));
            } else if (line.find('=') != std::string::npos) {
                keys.insert(Trim(line.substr(0, line.find('='))));
            }
        }

        const char* name = std::strrchr(argv[arg], '/');
        out << "file " << (name ? name + 1 : argv[arg]) << '\n';
        for (const auto& section : sections) {
            for (const auto& key : keys) {
                char value[256];
                GetPrivateProfileStringA(section.c_str(), key.c_str(), "[Unknown]", value,
                                         sizeof value, full);
                out << Escape(section) << '\t' << Escape(key) << '\t' << Escape(value) << '\n';
            }
        }
    }
    return 0;
}
