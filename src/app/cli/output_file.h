#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "common/run_files.h"

namespace venuecheck {

// Writes to an open file descriptor and remembers the first error.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd);
    void SetDescriptor(int fd) { fd_ = fd; }
    // The errno of the first write that failed; 0 when none did.
    int Error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool Drain();

    int fd_;
    int error_ = 0;
    std::vector<char> buffer_;
};

// The report file of --output. A regular file, or a name where nothing
// stands yet, is written whole or not at all: the report goes into a new
// file beside it, entered in the run's files, and takes its place only once
// all of it is written, so a full disk, a failed run or one ended from
// outside leave the file as it was. Anything else (a device, a pipe, a
// terminal, a link) is written directly.
class OutputFile {
public:
    OutputFile(const std::filesystem::path& target, RunFiles& files);
    // A report that was not committed is deleted; the file named stays.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // False when the file could not be opened; Error() says why.
    bool IsOpen() const { return fd_ >= 0; }
    // "cannot write 'FILE': why", once something failed.
    const std::string& Error() const { return error_; }

    std::ostream& Stream() { return stream_; }

    // Ends the report: everything written out and, for a regular file, put
    // in the file's place. False when any of it failed; the file named is
    // then as it was (a device or a pipe has what reached it).
    bool Commit();

private:
    void Fail(int error);
    void Fail(const std::string& why);
    void DiscardReport();

    std::filesystem::path target_;
    RunFiles& files_;
    std::optional<std::filesystem::path> temporary_;  // the new report beside the file
    int fd_ = -1;
    DescriptorBuffer buffer_{-1};
    std::ostream stream_{&buffer_};
    std::string error_;
};

}  // namespace venuecheck
