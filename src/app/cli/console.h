#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace venuecheck {

// Standard output and error as the command line uses them, readied for the
// report while the object lives.
//
// The report is 8-bit text: the game's names in the ANSI code page on
// Windows, the bytes of the data elsewhere. Written to a file or a pipe it
// keeps those bytes and its LF line ends on every system, so a report
// redirected on Windows equals the one written on Linux. On a Windows
// console, whose own code page is usually another one, the text is shown
// with the letters the ANSI code page gives its bytes, and the console's
// escape-code processing is switched on for colours (and restored at the
// end).
class Console {
public:
    Console();
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Standard output is a terminal that shows colours and bold from escape
    // codes: on Windows a console whose escape-code processing is on.
    bool OutputTakesColours() const;

    // Standard error is a terminal (on Windows a console), where a line may
    // be rewritten in place.
    bool ErrorIsTerminal() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The host path of the game folder named on the command line (8-bit text,
// as the game's names). On Windows a folder whose full path is long is named
// by its short form, where its volume keeps short names, so that the paths
// of the files in it stay within the 260 characters that Windows opens where
// long paths are not enabled.
std::filesystem::path GameFolderPath(const std::string& argument);

// Why a game folder named on the command line cannot be found, when the host
// can tell more than that it does not exist: on Windows a drive that is not
// there, or a path beyond the system's length limit. Empty otherwise; else
// the text to add to the message, beginning with a blank.
std::string WhyFolderIsMissing(const std::filesystem::path& folder);

}  // namespace venuecheck
