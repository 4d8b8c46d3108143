#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace venuecheck::gamegen {

// Writes the bytes as the whole file in one write, creating its folders;
// false with a message in `error` when that fails.
bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes, std::string& error);

// The whole content of a file; false with a message in `error` when it
// cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes, std::string& error);

// Writes the files of a folder below a root and counts what it wrote. After
// the first failure it writes nothing more and keeps that failure's message.
class FolderWriter {
public:
    explicit FolderWriter(std::filesystem::path root) : root_(std::move(root)) {}

    // `relative` uses '/' between folders.
    void Write(std::string_view relative, std::string_view bytes);
    void MakeFolder(std::string_view relative);

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    uint64_t Files() const { return files_; }
    uint64_t Bytes() const { return bytes_; }

private:
    std::filesystem::path root_;
    std::string error_;
    uint64_t files_ = 0;
    uint64_t bytes_ = 0;
};

}  // namespace venuecheck::gamegen
