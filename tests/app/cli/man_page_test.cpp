// The manual page against the program: every option that --help lists has
// its entry under OPTIONS, beginning with the option's --help text, and the
// page lists no option that the program does not know. The options are read
// from --help itself, so an option added to the program needs only its entry
// in the page.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/version.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::RunCommand;
using test::ShellQuote;

std::string Squeezed(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ') out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

size_t Indent(const std::string& line) {
    const size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? line.size() : first;
}

bool IsOptionName(const std::string& word) {
    return word.size() >= 2 && word[0] == '-' &&
           (std::isalpha(static_cast<unsigned char>(word[1])) || word[1] == '-');
}

// The options of one listing: each of an entry's names maps to the entry's
// text.
using Options = std::map<std::string, std::string>;

// --help: an entry starts on a line indented by two with its names
// ("-h,--help", "--game-dir TEXT", "--list Excludes: ..."); its description
// follows on the same line after a wide gap, or on the lines below it.
Options OptionsOfHelp(const std::string& help) {
    Options options;
    bool inOptions = false;
    std::vector<std::string> names;
    std::string description;
    auto finish = [&] {
        for (const auto& name : names) options[name] = Squeezed(description);
        names.clear();
        description.clear();
    };
    for (const std::string& line : Lines(help)) {
        if (line.rfind("Options:", 0) == 0 || line.rfind("OPTIONS:", 0) == 0) {
            inOptions = true;
            continue;
        }
        if (!inOptions || line.find_first_not_of(' ') == std::string::npos) continue;
        const size_t indent = Indent(line);
        if (indent == 0) {
            finish();
            inOptions = false;
        } else if (indent < 4 && line[indent] == '-') {
            finish();
            const std::string rest = line.substr(indent);
            const size_t end = rest.find(' ');
            std::stringstream first(rest.substr(0, end));
            for (std::string name; std::getline(first, name, ',');) names.push_back(name);
            const size_t gap = rest.find("  ");
            if (gap != std::string::npos) description = rest.substr(gap);
        } else {
            description += " " + line;
        }
    }
    finish();
    return options;
}

// The rendered page: under OPTIONS an entry starts on a line at the
// section's indent that begins with an option name; its names are the
// leading words that are option names. The rest of that line is the start
// of the entry's text when it begins at the text's indent (a short tag),
// else it is the tag's placeholder ("DIR").
Options OptionsOfPage(const std::string& page) {
    std::vector<std::string> section;
    bool inOptions = false;
    for (const std::string& line : Lines(page)) {
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        if (Indent(line) == 0) {
            inOptions = line == "OPTIONS";
        } else if (inOptions) {
            section.push_back(line);
        }
    }
    if (section.empty()) return {};
    const size_t tagIndent = Indent(section.front());
    size_t textIndent = std::string::npos;
    for (const auto& line : section) {
        if (Indent(line) > tagIndent) textIndent = std::min(textIndent, Indent(line));
    }

    Options options;
    std::vector<std::string> names;
    std::string text;
    auto finish = [&] {
        for (const auto& name : names) options[name] = Squeezed(text);
        names.clear();
        text.clear();
    };
    for (const std::string& line : section) {
        if (Indent(line) != tagIndent || line[tagIndent] != '-') {
            text += " " + line;
            continue;
        }
        finish();
        size_t at = tagIndent;
        while (at < line.size()) {
            const size_t end = std::min(line.find(' ', at), line.size());
            std::string word = line.substr(at, end - at);
            if (!word.empty() && word.back() == ',') word.pop_back();
            if (!IsOptionName(word)) break;
            names.push_back(word);
            at = std::min(line.find_first_not_of(' ', end), line.size());
        }
        // A placeholder is upper case ("DIR", "RULE[:GLOB]") and may happen
        // to end where the text begins ("--maps DIR").
        const std::string rest = line.substr(at);
        const std::string first = rest.substr(0, rest.find(' '));
        const bool placeholder =
            !first.empty() &&
            std::none_of(first.begin(), first.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        if (at == textIndent && !placeholder) text = rest;
    }
    finish();
    return options;
}

std::string RenderedPage() {
    // One line per paragraph, no hyphenation, no emphasis by overstriking.
    const auto result =
        RunCommand("groff -man -Tutf8 -rLL=1000n -P-cbou " + ShellQuote(VENUECHECK_MAN_PAGE));
    EXPECT_EQ(result.status, 0) << "groff (scripts/install-deps core installs it): " << result.err;
    return result.out;
}

TEST(ManualPage, HasAnEntryForEveryOptionOfHelpAndNoOther) {
    const auto help = RunCommand(ShellQuote(VENUECHECK_BINARY) + " --help");
    ASSERT_EQ(help.status, 0);
    const Options fromHelp = OptionsOfHelp(help.out);
    const Options fromPage = OptionsOfPage(RenderedPage());
    ASSERT_GE(fromHelp.size(), 8u) << "--help could not be read:\n" << help.out;
    ASSERT_TRUE(fromHelp.count("--game-dir")) << help.out;

    for (const auto& [name, description] : fromHelp) {
        const auto entry = fromPage.find(name);
        if (entry == fromPage.end()) {
            ADD_FAILURE() << name << " is in --help but has no entry in the manual page";
            continue;
        }
        // The entry starts with the --help text, as a sentence of its own.
        EXPECT_EQ(entry->second.rfind(description, 0), 0u)
            << name << ": the manual page says \"" << entry->second << "\", --help says \""
            << description << "\"";
    }
    for (const auto& [name, text] : fromPage) {
        EXPECT_TRUE(fromHelp.count(name)) << name << " is in the manual page but not in --help";
    }
}

TEST(ManualPage, CarriesTheProgramsVersion) {
    const auto version = RunCommand(ShellQuote(VENUECHECK_BINARY) + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "venuecheck " + std::string(kVersion) + "\n");
    const std::string page = RenderedPage();
    EXPECT_NE(page.find("venuecheck " + std::string(kVersion)), std::string::npos);
}

}  // namespace
}  // namespace venuecheck
