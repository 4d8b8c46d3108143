#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace venuecheck::test {

// A fresh folder below the system's temporary folder, removed again with
// everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // Writes a file below the folder, creating its folders.
    void Write(std::string_view relative, std::string_view bytes) const;
    std::string Read(std::string_view relative) const;
    bool Exists(std::string_view relative) const;

    // Copies a fixture folder (below tests/fixtures) into this folder.
    void CopyFixture(std::string_view fixture) const;

private:
    std::filesystem::path path_;
};

// The folder of the test data (tests/ in the source tree).
std::filesystem::path TestDataDir();

std::string ReadWholeFile(const std::filesystem::path& path);

// The same bytes for the same seed on every machine (a linear congruential
// generator), so that a failing case can be repeated.
std::string RandomBytes(size_t size, uint32_t seed);

// Runs a shell command; its standard output and error are captured.
struct CommandResult {
    int status = -1;  // the exit status, -1 when the command did not exit
    std::string out;
    std::string err;
};
CommandResult RunCommand(const std::string& command);

// Quotes a text for the shell.
std::string ShellQuote(const std::string& text);

}  // namespace venuecheck::test
