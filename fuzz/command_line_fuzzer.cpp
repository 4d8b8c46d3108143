// The command line's options: any words, split at NUL bytes, are either a
// run's options that make sense together, the help, or one line saying what
// is wrong, with status 2; nothing throws.

#include <string>
#include <vector>

#include "app/cli/options.h"
#include "fuzz_support.h"

using namespace venuecheck;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::AsText(data, size);
    std::vector<std::string> words{"venuecheck"};
    size_t start = 0;
    while (start <= input.size() && words.size() < 24) {
        size_t end = input.find('\0', start);
        if (end == std::string_view::npos) end = input.size();
        words.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    std::vector<const char*> argv;
    for (const auto& word : words) argv.push_back(word.c_str());

    const ParsedCommandLine parsed = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    if (!parsed.options) {
        if (parsed.status == 0 && parsed.out.empty()) fuzz::Fail("neither a run nor the help");
        if (parsed.status != 0 && parsed.status != 2) fuzz::Fail("an exit status of its own");
        if (parsed.status == 2 &&
            (parsed.error.empty() || parsed.error.find('\n') != std::string::npos)) {
            fuzz::Fail("a usage error is one line", parsed.error);
        }
        return 0;
    }
    const CommandLineOptions& o = *parsed.options;
    if (o.list && (o.venueName || o.index)) fuzz::Fail("--list with a selection");
    if (o.venueName && o.index) fuzz::Fail("--venue with --index");
    if (o.maxWarnings && *o.maxWarnings < 0) fuzz::Fail("a negative --max-warnings");
    if (o.format) {
        const std::string& f = *o.format;
        if (f != "ansi" && f != "text" && f != "runs" && f != "html" && f != "json" &&
            f != "sarif") {
            fuzz::Fail("an unknown format", f);
        }
    }
    return 0;
}
